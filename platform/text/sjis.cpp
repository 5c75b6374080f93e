#include "platform/text/sjis.h"

#include "platform/text/sjis_codec.h"

namespace quillon::sjis {

int charLengthAt(const QByteArray& s, qsizetype pos) {
    if (pos < 0 || pos >= s.size())
        return 0;
    qsizetype i = 0;
    while (i < pos)
        i += charLengthAtBoundary(s, i);
    if (i > pos) // pos is the trail byte of a double-byte character
        return 1;
    return charLengthAtBoundary(s, pos);
}

QByteArray cutToCharacters(const QByteArray& s, qsizetype max) {
    qsizetype pos = 0;
    while (pos < s.size()) {
        const int len = charLengthAtBoundary(s, pos);
        if (pos + len > max)
            break;
        pos += len;
    }
    return s.left(pos);
}

namespace {

// The JIS forms that code page 932 holds under another code point.
char16_t cp932Form(char16_t c) {
    switch (c) {
    case 0x301C: // wave dash
        return 0xFF5E;
    case 0x2212: // minus sign
        return 0xFF0D;
    case 0x2016: // double vertical line
        return 0x2225;
    case 0x00A2: // cent
        return 0xFFE0;
    case 0x00A3: // pound
        return 0xFFE1;
    case 0x00AC: // not
        return 0xFFE2;
    case 0x2014: // em dash
        return 0x2015;
    default:
        return 0;
    }
}

QString withCp932Forms(const QString& text) {
    QString mapped = text;
    for (QChar& c : mapped)
        if (const char16_t form = cp932Form(c.unicode()))
            c = QChar(form);
    return mapped;
}

// Length in UTF-16 units of the character at i: a surrogate pair is one character.
qsizetype unitsAt(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// Calls each(position, length, bytes) for every character of the mapped text; bytes are
// empty for a character without a Shift-JIS form.
template <typename Each> void forEachCharacter(const QString& mapped, Each each) {
    for (qsizetype i = 0; i < mapped.size();) {
        const qsizetype n = unitsAt(mapped, i);
        each(i, n, encodeCp932(QStringView(mapped).mid(i, n)).value_or(QByteArray()));
        i += n;
    }
}

} // namespace

QString toUnicode(QByteArrayView bytes) {
    return decodeCp932(bytes);
}

QByteArray fromUnicode(const QString& text) {
    const QString mapped = withCp932Forms(text);
    if (std::optional<QByteArray> bytes = encodeCp932(mapped))
        return *bytes;
    // Rare: only text with a character that has no form goes one character at a time.
    QByteArray bytes;
    forEachCharacter(mapped, [&bytes](qsizetype, qsizetype, const QByteArray& one) {
        bytes += one.isEmpty() ? QByteArray("?") : one;
    });
    return bytes;
}

bool isRepresentable(const QString& text) {
    return encodeCp932(withCp932Forms(text)).has_value();
}

QString representablePart(const QString& text, QString* leftOut) {
    if (isRepresentable(text))
        return text;
    QString kept;
    forEachCharacter(withCp932Forms(text), [&](qsizetype i, qsizetype n, const QByteArray& bytes) {
        if (!bytes.isEmpty())
            kept += QStringView(text).mid(i, n);
        else if (leftOut)
            *leftOut += QStringView(text).mid(i, n);
    });
    return kept;
}

} // namespace quillon::sjis
