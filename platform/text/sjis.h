#pragma once
// Shift-JIS (code page 932) text: the lead-byte test, character stepping and the
// conversion to and from the user interface's Unicode.
#include <QByteArray>
#include <QString>

namespace quillon::sjis {

inline bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes (1 or 2) of the character that starts at the 0-based byte position
// pos of s, classifying the byte by scanning s from its first byte. A lead byte with
// nothing after it is a character of its own; nothing is read past the end.
// Returns 0 when pos is outside s.
int charLengthAt(const QByteArray& s, qsizetype pos);

// Same, for a caller that knows pos is a character boundary (no scan from the start).
inline int charLengthAtBoundary(const QByteArray& s, qsizetype pos) {
    if (pos < 0 || pos >= s.size())
        return 0;
    return (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// At most max bytes of s, never splitting a double-byte character.
QByteArray cutToCharacters(const QByteArray& s, qsizetype max);

QString toUnicode(const QByteArray& bytes);
QByteArray fromUnicode(const QString& text);
// True when every character of text has a Shift-JIS form.
bool isRepresentable(const QString& text);

} // namespace quillon::sjis
