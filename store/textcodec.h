#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The 8-bit text of record information and catalogue files. New text is written as
// UTF-8; text that is not valid UTF-8 was written by an older device in its Windows
// code page and is read as Windows-1252, so that nothing written before becomes unreadable.
namespace TextCodec {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF). Empty input is valid.
bool IsValidUtf8(QByteArrayView bytes);

// Every byte as its Windows-1252 character; the five bytes that code page leaves
// undefined become the control characters of the same value.
QString FromWindows1252(QByteArrayView bytes);

// UTF-8 when valid, else Windows-1252. Never fails.
QString Decode(QByteArrayView bytes);

// UTF-8 bytes of `text`.
QByteArray Encode(const QString& text);

// `bytes` cut to at most `maxBytes`, never in the middle of a UTF-8 sequence: a sequence
// that would not fit whole is dropped whole. Negative `maxBytes` counts as 0.
QByteArray TruncateUtf8(const QByteArray& bytes, qsizetype maxBytes);

// Encode followed by TruncateUtf8.
QByteArray EncodeTruncated(const QString& text, qsizetype maxBytes);

} // namespace TextCodec
