#include "platform/text/sjis_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quillon::sjis {

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

std::optional<QByteArray> encodeCp932(QStringView text) {
    // Stateless, so that a lone high surrogate at the end is an error, not held back as
    // the first half of a pair. A fresh encoder each time: resetting one would also drop
    // its converter.
    QStringEncoder encoder(codecName(), QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text); // encoding is lazy: take the bytes first
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString decodeCp932(QByteArrayView bytes) {
    // Making a converter costs more than most texts take to convert, and a long list
    // converts a row at a time. A stateless one keeps nothing from one text to the next.
    thread_local QStringDecoder decoder(codecName(), QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace quillon::sjis
