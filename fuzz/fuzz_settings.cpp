// The settings reader: any bytes as Dalvino.ini. What it reads it writes back so that
// reading that text again gives the same values, and a value written is read back.
#include "FuzzSupport.h"

#include "formats/IniFile.h"
#include "formats/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const IniFile ini = IniFile::parse(decodeText(fuzzBytes(data, size)));
    const QString section = QStringLiteral("Setting");
    const int top = ini.readInteger(section, QStringLiteral("Top"), 115);
    const QString state = ini.readString(section, QStringLiteral("WindowState"));

    const QString text = ini.toText();
    IniFile copy = IniFile::parse(text);
    if (copy.toText() != text)
        dumpTexts(text, copy.toText());
    FUZZ_REQUIRE(copy.toText() == text);
    FUZZ_REQUIRE(copy.readInteger(section, QStringLiteral("Top"), 115) == top);
    FUZZ_REQUIRE(copy.readString(section, QStringLiteral("WindowState")) == state);
    FUZZ_REQUIRE(copy.contains(section, QStringLiteral("Top")) == ini.contains(section, QStringLiteral("Top")));

    const int deviceType = static_cast<int>(fuzzChoice(data, size, 5)) - 2;
    copy.writeInteger(section, QStringLiteral("DeviceType"), deviceType);
    FUZZ_REQUIRE(copy.readInteger(section, QStringLiteral("DeviceType"), 99) == deviceType);
    FUZZ_REQUIRE(IniFile::parse(copy.toText()).readInteger(section, QStringLiteral("DeviceType"), 99) == deviceType);
    FUZZ_REQUIRE(copy.readInteger(section, QStringLiteral("Top"), 115) == top);
    return 0;
}
