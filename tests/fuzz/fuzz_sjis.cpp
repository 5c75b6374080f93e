// Shift-JIS stepping and conversion on arbitrary bytes: stepping the way the card types
// covers every byte exactly once and never reads past the end; conversion never fails.
// The same bytes read as UTF-16 text: encoding it never gives an undefined code, and
// the representable part is exactly the text less what is left out.
#include "platform/text/sjis.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qsizetype pos = 0;
    while (pos < text.size()) {
        const int length = sjis::charLengthAt(text, pos);
        if (length < 1 || length > 2 || pos + length > text.size())
            std::abort();
        if (length != sjis::charLengthAtBoundary(text, pos))
            std::abort();
        pos += length;
    }
    if (pos != text.size() || sjis::charLengthAt(text, text.size()) != 0)
        std::abort();
    // Every position, boundary or not, gets a length that stays inside the text (each
    // query scans from the start, so only the first few hundred are asked).
    for (qsizetype i = 0; i < std::min<qsizetype>(text.size(), 512); ++i)
        if (i + sjis::charLengthAt(text, i) > text.size())
            std::abort();
    const QString unicode = sjis::toUnicode(text);
    const QByteArray back = sjis::fromUnicode(unicode);
    (void)sjis::isRepresentable(unicode);
    (void)back;

    const QString utf16(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    const QByteArray encoded = sjis::fromUnicode(utf16);
    QStringDecoder decoder("windows-31j");
    const QString decoded = decoder.decode(encoded);
    if (decoder.hasError() || decoded.contains(QChar(0xFFFD)))
        std::abort();
    QString leftOut;
    const QString kept = sjis::representablePart(utf16, &leftOut);
    if (!sjis::isRepresentable(kept) || kept.size() + leftOut.size() != utf16.size())
        std::abort();
    // Each character without a form (a surrogate pair is one) is one "?" in the encoding.
    qsizetype withoutForm = 0;
    for (qsizetype i = 0; i < utf16.size();) {
        const bool pair =
            utf16[i].isHighSurrogate() && i + 1 < utf16.size() && utf16[i + 1].isLowSurrogate();
        const qsizetype n = pair ? 2 : 1;
        withoutForm += sjis::isRepresentable(utf16.mid(i, n)) ? 0 : 1;
        i += n;
    }
    if (encoded.count('?') != utf16.count(u'?') + withoutForm)
        std::abort();
    return 0;
}
