#pragma once
// Text drawn ahead of its time on black, kept to be copied onto a black page when its
// turn comes: a large glyph takes several times longer to rasterise than to copy, and a
// card knows its next character long before that character's tick. A stamp holds exactly
// the pixels that drawing the text there would give.
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <deque>
#include <utility>
#include <vector>

namespace quillon {

// Where and how a text is drawn: its font and colour, the page's scale, and the origin
// of its baseline in the mode's coordinates.
struct TextPlacement {
    QFont font;
    QRgb color = 0; // with its alpha
    qreal scale = 1.0;
    QPoint origin;
    QString text;

    bool operator==(const TextPlacement& other) const;
};

class TextStamps {
public:
    // Draws the placement on black and keeps it, unless it is kept already. Text that
    // reaches the stamp's margin is not kept.
    void prepare(const TextPlacement& placement);
    // Copies the stamp of that placement onto a page, when one is kept and the page is
    // black under it (lit: where the page may not be black, in its pixels).
    bool put(const TextPlacement& placement, QImage& page, const QRect& lit) const;
    int size() const { return int(stamps_.size()); }

    // Where a row of a stamp is not black: [first, second) in its pixels.
    using Span = std::pair<int, int>;

private:
    struct Stamp {
        TextPlacement placement;
        QPoint at;               // the stamp's top-left, in page pixels
        QImage pixels;           // the text drawn on black
        std::vector<Span> spans; // a row's lit part
    };
    const Stamp* find(const TextPlacement& placement) const;

    // The next character, and one before it that the text may repeat.
    static constexpr size_t Kept = 2;
    std::deque<Stamp> stamps_;
};

} // namespace quillon
