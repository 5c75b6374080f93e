#include "platform/media/repeated_frames.h"

#include <cstring>

namespace quillon {

bool RepeatedFrames::samePixels(const QImage& a, const QImage& b) {
    if (a.cacheKey() == b.cacheKey())
        return true;
    if (a.size() != b.size() || a.format() != b.format() || a.bytesPerLine() != b.bytesPerLine())
        return false;
    return std::memcmp(a.constBits(), b.constBits(), size_t(a.sizeInBytes())) == 0;
}

bool RepeatedFrames::needed(const QImage& picture, int64_t index) {
    const bool repeat = last_ >= 0 && samePixels(picture, picture_);
    last_ = index;
    if (repeat && index - lastSent_ < maxGap_)
        return false;
    picture_ = picture;
    lastSent_ = index;
    ++sent_;
    return true;
}

void RepeatedFrames::sentLast() {
    lastSent_ = last_;
    ++sent_;
}

} // namespace quillon
