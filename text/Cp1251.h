#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

// Windows-1251, the code page of every text file and instrument reply.
namespace cp1251 {

// Every byte value has a character, so decoding never loses anything.
QString decode(QByteArrayView bytes);

// Characters outside the code page become '?', as the Windows conversion does.
QByteArray encode(QStringView text);

char16_t toUnicode(unsigned char byte);

// Lower-case form of a byte for name matching without regard to case
// (Latin and Cyrillic letters alike).
extern const std::array<unsigned char, 256> kFoldTable;
inline unsigned char foldCase(unsigned char byte) { return kFoldTable[byte]; }

} // namespace cp1251
