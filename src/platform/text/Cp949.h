#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Code page 949 is the program's text at every file, wire and table-width
// boundary. Inside the program text is QString; widths count CP949 bytes, so
// a Hangul syllable counts two.
namespace Cp949 {

// Encodes text. Characters CP949 cannot hold become '?' and *ok turns false.
QByteArray encode(const QString& text, bool* ok = nullptr);

// Decodes CP949 bytes. Invalid sequences become U+FFFD and *ok turns false.
QString decode(const QByteArray& bytes, bool* ok = nullptr);

// True when every character of the text can be written in CP949.
bool canEncode(const QString& text);

// Width of the text in CP949 bytes (unencodable characters count one each).
int byteLength(const QString& text);

// The longest prefix of the text whose CP949 form fits in width bytes; never
// splits a two-byte character.
QString cutToBytes(const QString& text, int width);

// The same on encoded bytes: at most width bytes, never half a character.
QByteArray cutBytes(const QByteArray& bytes, int width);

// Length of the CP949 character that starts with this byte (1 or 2).
inline int charLength(unsigned char lead) { return (lead >= 0x81 && lead <= 0xFE) ? 2 : 1; }

// Bytes [pos, pos+len) of the encoded text, decoded; offsets count bytes.
QString mid(const QByteArray& bytes, int pos, int len);

} // namespace Cp949
