// The settings reader: any bytes as Dalvino.ini.
#include "formats/IniFile.h"
#include "formats/TextFile.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const IniFile ini = IniFile::parse(decodeText(bytes));
    ini.readInteger(QStringLiteral("Setting"), QStringLiteral("Top"), 115);
    ini.readString(QStringLiteral("Setting"), QStringLiteral("WindowState"));
    IniFile copy = IniFile::parse(ini.toText());
    copy.writeInteger(QStringLiteral("Setting"), QStringLiteral("DeviceType"), -1);
    return 0;
}
