// The text-file decoder: byte-order marks, code page 932, line splitting, and the
// encoder on whatever came out.
#include "formats/TextFile.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = decodeText(bytes);
    const QStringList lines = splitLines(text);
    const QByteArray encoded = encodeCp932(joinLines(lines));
    if (encoded.size() > (text.size() + 2 * lines.size()) * 2 + 2)
        __builtin_trap(); // the encoder never writes more than two bytes a unit
    return 0;
}
