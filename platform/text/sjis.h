#pragma once
// Shift-JIS (code page 932) text: the lead-byte test, character stepping and the
// conversion to and from the user interface's Unicode.
#include <QByteArray>
#include <QByteArrayView>
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

QString toUnicode(QByteArrayView bytes);
// The text as code page 932 writes it. Linux input methods and clipboards give a few
// characters in their JIS forms (〜 − ‖ ¢ £ ¬ —); those get the codes code page 932 has
// for them. A character without any Shift-JIS form becomes one "?": never an undefined
// code that would show as a replacement glyph and reach the files.
QByteArray fromUnicode(const QString& text);
// True when every character of text has a Shift-JIS form.
bool isRepresentable(const QString& text);
// The text without its characters that have no Shift-JIS form; those are appended to
// *leftOut when it is given. A surrogate pair counts as one character.
QString representablePart(const QString& text, QString* leftOut = nullptr);

} // namespace quillon::sjis
