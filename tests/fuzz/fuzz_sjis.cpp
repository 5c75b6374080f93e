// Shift-JIS stepping and conversion on arbitrary bytes: stepping the way the card types
// covers every byte exactly once and never reads past the end; conversion never fails.
#include "platform/text/sjis.h"

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
    return 0;
}
