#pragma once
// How a card's pages look where they are not on the program's own screen (an export, the
// screen saver): the pages are drawn white on black, so each pixel's brightness is how
// much of a glyph covers it; that coverage is laid in the text colour over a background
// colour or picture, or over nothing (transparent: the coverage becomes the alpha).
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>
#include <optional>

namespace quillon {

struct PageStyle {
    QRgb text = qRgb(255, 255, 255);
    QRgb background = qRgb(0, 0, 0);
    QImage picture;           // the background, scaled to cover; null: the colour
    bool transparent = false; // no background at all

    // White on black, opaque: the pages as they are.
    bool plain() const {
        return text == qRgb(255, 255, 255) && background == qRgb(0, 0, 0) && picture.isNull() &&
               !transparent;
    }
};

// "RRGGBB" (a leading # allowed), or nothing.
std::optional<QRgb> parseStyleColour(const QString& text);

// Takes the value of the command line's --color (the text) or --background (a colour
// or a picture file) into style. Returns what is wrong with it, or nothing.
QString takeStyleOption(const QString& option, const QString& value, PageStyle& style);

// Lays white-on-black pictures in a style. The background picture is scaled once for
// each target size.
class PageStyler {
public:
    explicit PageStyler(PageStyle style = {}) : style_(std::move(style)) {}
    const PageStyle& style() const { return style_; }

    // The picture in the style; the part of a target of the given size that starts at
    // offset (a whole frame: the picture's own size at 0, 0). 32-bit ARGB with straight
    // alpha when transparent, 32-bit RGB otherwise; the picture itself when plain.
    QImage apply(const QImage& picture, QSize target, QPoint offset = {}) const;
    QImage apply(const QImage& picture) const { return apply(picture, picture.size()); }

private:
    const QImage& backdrop(QSize target) const;

    PageStyle style_;
    mutable QImage backdrop_; // the picture at the last target's size
};

} // namespace quillon
