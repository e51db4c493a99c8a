#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The encodings text files come in: the phone system's code page 932, and the UTF-8 and
// UTF-16 that address-book programs write.
enum class TextEncoding { Cp932, Utf8, Utf16 };

// The encoding a byte-order mark at the start of bytes names.
std::optional<TextEncoding> markedEncoding(const QByteArray &bytes);

// The encoding of a file that may be UTF-8: its byte-order mark; without one code page
// 932, unless the bytes are UTF-8 holding other characters than ASCII and cannot be
// Japanese text in code page 932 (see the rule in the source). Short texts, such as a few
// half-width katakana, are often valid in both; then code page 932 is kept.
TextEncoding detectEncoding(const QByteArray &bytes);

// The text of bytes in an encoding; a byte-order mark of that encoding is not part of
// it. UTF-16 is little-endian unless its mark says otherwise.
QString decodeAs(const QByteArray &bytes, TextEncoding encoding);

// "Shift-JIS", "UTF-8", "UTF-16".
QString encodingName(TextEncoding encoding);
