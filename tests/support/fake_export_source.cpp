#include "support/fake_export_source.h"

#include <QPainter>
#include <algorithm>

namespace quillon::testing {

namespace {
const QString Glyphs = QStringLiteral("春の夜の夢の浮橋とだえして");

QImage blackPage(QSize size) {
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::black);
    return page;
}

void drawText(QImage& page, const QString& text, int pixelSize, const QRect& box, int flags) {
    QPainter painter(&page);
    QFont font(QStringLiteral("ＭＳ 明朝"));
    font.setPixelSize(std::max(1, pixelSize));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, flags, text);
}
} // namespace

FakeExportSource::FakeExportSource(FakeCard card) : card_(std::move(card)) {
    std::stable_sort(card_.cues.begin(), card_.cues.end(),
                     [](const CueStart& a, const CueStart& b) { return a.sample < b.sample; });
}

QImage FakeExportSource::nextFrame() {
    const int64_t frame = shown_++;
    if (card_.onFrame)
        card_.onFrame(frame);
    if (card_.glyphs)
        return glyphFrame(frame);
    QImage page(card_.size, QImage::Format_RGB32);
    const int g = greyOf(frame);
    page.fill(QColor(g, g, g));
    return page;
}

// A page is drawn only when its character changes; the same image is shown meanwhile,
// as a card's page stays up between ticks.
QImage FakeExportSource::glyphFrame(int64_t frame) {
    const int64_t glyphCount = Glyphs.size();
    const int64_t glyph = std::min(frame / card_.framesPerGlyph, glyphCount);
    if (glyph != glyph_) {
        glyph_ = glyph;
        if (glyph == glyphCount) {
            page_ = finishedCard();
        } else {
            page_ = blackPage(card_.size);
            const int h = card_.size.height();
            drawText(page_, Glyphs.mid(glyph, 1), h * 7 / 10, page_.rect(), Qt::AlignCenter);
        }
    }
    return page_;
}

std::vector<CueStart> FakeExportSource::takeCues() {
    std::vector<CueStart> taken;
    const int64_t end = shown_ * ExportSampleRate / card_.fps;
    while (nextCue_ < card_.cues.size() && card_.cues[nextCue_].sample < end)
        taken.push_back(card_.cues[nextCue_++]);
    return taken;
}

QImage FakeExportSource::finishedCard() {
    QImage card = blackPage(card_.size);
    const int w = card_.size.width(), h = card_.size.height();
    drawText(card, Glyphs.left(6), h / 6, QRect(0, h / 5, w, h / 3),
             Qt::AlignLeft | Qt::AlignVCenter);
    drawText(card, Glyphs.mid(6), h / 6, QRect(0, h / 2, w, h / 3),
             Qt::AlignRight | Qt::AlignVCenter);
    return card;
}

} // namespace quillon::testing
