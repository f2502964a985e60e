#pragma once
// Windows-1251, the code page of every character the program exchanges with the controller
// and writes into its files.

#include <QByteArray>
#include <QString>

namespace Cp1251 {

// One byte per code point; a code point with no byte in the code page becomes '?'.
QByteArray Encode(const QString& text);
QString Decode(const QByteArray& bytes);

char EncodeChar(char32_t codePoint);
char32_t DecodeChar(unsigned char byte);

} // namespace Cp1251
