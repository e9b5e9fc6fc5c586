#pragma once
// Text encodings the program exchanges with other programs: Shift-JIS
// (Windows code page 932) through iconv, and UTF-8 with or without BOM.
// Core-only (no GUI), so the format readers can use it too.

#include <QByteArray>
#include <QString>

namespace TextCodec {

// Decodes CP932 bytes; bytes that are not valid CP932 become U+FFFD.
QString fromCp932(const QByteArray& bytes);
// Encodes into CP932. `lossless` (when given) is false if a character had no
// CP932 form that reads back as the same character; such characters are
// written as "?".
QByteArray toCp932(const QString& text, bool* lossless = nullptr);
// True when every character of `text` has a CP932 form.
bool fitsCp932(const QString& text);

bool isValidUtf8(const QByteArray& bytes);
// UTF-8 without its byte-order mark when the bytes are valid UTF-8, else CP932.
QString fromUtf8OrCp932(const QByteArray& bytes);
// Decodes in any single-byte Windows code page iconv knows (1252, 932, ...).
// Invalid bytes become U+FFFD. Unknown code pages fall back to cp1252.
QString fromCodePage(const QByteArray& bytes, int codePage);

} // namespace TextCodec
