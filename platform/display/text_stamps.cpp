#include "platform/display/text_stamps.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <optional>

namespace quillon {

namespace {

// Smoothing reaches past the glyphs' outline; the margin must come out black.
constexpr int Margin = 3;
constexpr QRgb Black = 0xFF000000u;
constexpr int MaxSide = 1 << 15;

// The pixels of a placement's text, in page pixels, wide enough for its smoothing.
QRect stampArea(const TextPlacement& p) {
    const QRectF ink = QFontMetricsF(p.font).boundingRect(p.text).translated(p.origin);
    const QRectF pixels(ink.x() * p.scale, ink.y() * p.scale, ink.width() * p.scale,
                        ink.height() * p.scale);
    return pixels.toAlignedRect().adjusted(-Margin, -Margin, Margin, Margin);
}

void drawText(QPainter& painter, const TextPlacement& p) {
    painter.setFont(p.font);
    painter.setPen(QColor::fromRgba(p.color));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(p.origin, p.text);
}

// The lit span of each row of a drawing on black, or nothing when its margin is not all
// black (the stamp would not hold the whole drawing).
std::optional<std::vector<TextStamps::Span>> litSpans(const QImage& drawn) {
    const int w = drawn.width(), h = drawn.height();
    std::vector<TextStamps::Span> spans(size_t(h), TextStamps::Span{0, 0});
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        int first = 0, last = w;
        while (first < w && row[first] == Black)
            ++first;
        while (last > first && row[last - 1] == Black)
            --last;
        if (first == last)
            continue;
        if (y < Margin || y >= h - Margin || first < Margin || last > w - Margin)
            return std::nullopt;
        spans[size_t(y)] = {first, last};
    }
    return spans;
}

} // namespace

bool TextPlacement::operator==(const TextPlacement& other) const {
    return color == other.color && scale == other.scale && origin == other.origin &&
           text == other.text && font == other.font;
}

const TextStamps::Stamp* TextStamps::find(const TextPlacement& placement) const {
    for (const Stamp& stamp : stamps_)
        if (stamp.placement == placement)
            return &stamp;
    return nullptr;
}

void TextStamps::prepare(const TextPlacement& placement) {
    if (placement.text.isEmpty() || find(placement))
        return;
    // Only what lies right of and below the page's origin can be drawn as on the page.
    const QRect area = stampArea(placement) & QRect(0, 0, MaxSide, MaxSide);
    if (area.isEmpty())
        return;
    // Drawn on an image whose origin is the page's, so that every glyph falls on the very
    // positions it takes on the page (a moved origin rounds differently at some scales).
    // Only the stamp's area of it is ever touched.
    QImage full(area.right() + 1, area.bottom() + 1, QImage::Format_RGB32);
    if (full.isNull())
        return;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(full.scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, Black);
    }
    full.setDevicePixelRatio(placement.scale);
    {
        QPainter painter(&full);
        drawText(painter, placement);
    }
    QImage drawn = full.copy(area);
    std::optional<std::vector<Span>> spans = litSpans(drawn);
    if (!spans)
        return;
    if (stamps_.size() == Kept)
        stamps_.pop_front();
    stamps_.push_back({placement, area.topLeft(), std::move(drawn), std::move(*spans)});
}

bool TextStamps::put(const TextPlacement& placement, QImage& page, const QRect& lit) const {
    const Stamp* stamp = find(placement);
    if (!stamp || page.format() != QImage::Format_RGB32 ||
        page.devicePixelRatio() != placement.scale)
        return false;
    const QRect area(stamp->at, stamp->pixels.size());
    if (lit.intersects(area))
        return false;
    // Only the lit part of each row: the rest is black on both.
    const QRect target = area & page.rect();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const Span span = stamp->spans[size_t(y - area.y())];
        const int from = std::max(span.first + area.x(), target.left());
        const int to = std::min(span.second + area.x(), target.right() + 1);
        if (from >= to)
            continue;
        const auto* in = reinterpret_cast<const QRgb*>(stamp->pixels.constScanLine(y - area.y()));
        auto* out = reinterpret_cast<QRgb*>(page.scanLine(y));
        std::memcpy(out + from, in + (from - area.x()), size_t(to - from) * sizeof(QRgb));
    }
    return true;
}

} // namespace quillon
