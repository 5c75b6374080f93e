#pragma once
// Frames for the encoder in its own pixel layout: planar Y'CbCr 4:2:0, BT.709, studio
// range. A card shows the same page for many frames, so a frame equal to the one before
// is not converted again.
#include <QByteArray>
#include <QImage>

namespace quillon {

class Yuv420Frames {
public:
    // The 4:2:0 bytes of a 32-bit RGB frame (the Y plane, then Cb, then Cr; chroma planes
    // round odd sides up).
    const QByteArray& convert(const QImage& frame);
    // Frames converted so far, not counting repeats.
    int conversions() const { return conversions_; }

    static qsizetype frameBytes(QSize size);

private:
    QImage last_;
    QByteArray bytes_;
    QByteArray spare_;
    int conversions_ = 0;
};

} // namespace quillon
