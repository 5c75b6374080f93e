#include "platform/text/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

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
// Code page 932 under its registered name; plain Shift_JIS maps a few characters
// (the wave dash, the NEC specials) differently.
const char* codecName() {
    static const char* name = [] {
        for (const char* candidate : {"windows-31j", "cp932", "Shift_JIS"}) {
            QStringDecoder probe(candidate);
            if (probe.isValid())
                return candidate;
        }
        return "Shift_JIS";
    }();
    return name;
}
} // namespace

QString toUnicode(const QByteArray& bytes) {
    QStringDecoder decoder(codecName());
    return decoder.decode(bytes);
}

QByteArray fromUnicode(const QString& text) {
    QStringEncoder encoder(codecName());
    return encoder.encode(text);
}

bool isRepresentable(const QString& text) {
    QStringEncoder encoder(codecName());
    QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && toUnicode(bytes) == text;
}

} // namespace quillon::sjis
