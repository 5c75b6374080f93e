#pragma once
// A card holds each page for many frames. With timestamps on every frame, a frame that
// only repeats the one before need not be converted or sent: the one before is shown
// until the next. One still goes at least every maxGap frames (for players that want a
// frame now and then), and the last frame always, so the file keeps its length.
#include <QImage>
#include <cstdint>
#include <limits>

namespace quillon {

class RepeatedFrames {
public:
    static constexpr int64_t NoGap = std::numeric_limits<int64_t>::max();
    explicit RepeatedFrames(int64_t maxGap = NoGap) : maxGap_(maxGap) {}

    // Whether frame index (in order, from 0) with this picture must be sent.
    bool needed(const QImage& picture, int64_t index);
    // After the last frame: whether it was skipped, so must still be sent.
    bool lastUnsent() const { return last_ >= 0 && last_ != lastSent_; }
    int64_t lastIndex() const { return last_; }
    const QImage& lastPicture() const { return picture_; }
    int64_t sent() const { return sent_; }
    // Marks the last frame sent (after lastUnsent).
    void sentLast();

    // The same pixels: the same image, or an equal copy.
    static bool samePixels(const QImage& a, const QImage& b);

private:
    int64_t maxGap_;
    QImage picture_;
    int64_t last_ = -1;
    int64_t lastSent_ = -1;
    int64_t sent_ = 0;
};

} // namespace quillon
