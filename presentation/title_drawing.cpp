#include "presentation/title_drawing.h"

#include "platform/display/flip_pages.h"
#include "platform/display/surface.h"

#include <algorithm>

namespace quillon {

namespace {

const QColor White(255, 255, 255);

int trunc(double value) {
    return static_cast<int>(value);
}

// The text attributes every drawing pass sets; nothing else of the font is touched.
TDirectDrawSurfaceCanvas& prepareCanvas(TDirectDrawSurface& back, const DisplayFont& font) {
    TDirectDrawSurfaceCanvas& canvas = *back.Canvas();
    canvas.setBrushClear();
    canvas.setFontColor(White);
    canvas.setFontCharset(font.charset);
    canvas.setFontName(font.faceName);
    return canvas;
}

// The top-left corner of a character's cell of that width, centred.
QPoint placeCharacter(const FlipPages& pages, int width, int magnify) {
    const int h = pages.Height();
    const int fontHeight = trunc(magnify / 100.0 * h);
    return {trunc((pages.Width() - width) * 0.5), trunc((h - fontHeight) * 0.5)};
}

void setCharacterHeight(TDirectDrawSurfaceCanvas& canvas, const FlipPages& pages, int magnify) {
    canvas.setFontHeight(trunc(magnify / 100.0 * pages.Height()));
}

} // namespace

void drawCharacter(FlipPages& pages, const QByteArray& ch, int magnify, const DisplayFont& font) {
    TDirectDrawSurface* back = pages.BackSurface();
    if (!back)
        return;
    // The previous character goes, and both pages of the chain end up black.
    back->ColorFill(0);
    pages.Flip();
    back = pages.BackSurface();
    back->ColorFill(0);

    TDirectDrawSurfaceCanvas& canvas = prepareCanvas(*back, font);
    setCharacterHeight(canvas, pages, magnify);
    const QPoint at = placeCharacter(pages, canvas.textWidth(ch), magnify);
    canvas.textOut(at.x(), at.y(), ch);
    canvas.Release();
    pages.Flip();
}

void prepareCharacter(FlipPages& pages, const QByteArray& ch, int magnify,
                      const DisplayFont& font) {
    TDirectDrawSurface* back = pages.BackSurface();
    if (!back)
        return;
    TDirectDrawSurfaceCanvas& canvas = prepareCanvas(*back, font);
    setCharacterHeight(canvas, pages, magnify);
    const QPoint at = placeCharacter(pages, canvas.measureText(ch), magnify);
    canvas.prepareText(at.x(), at.y(), ch);
}

void drawCard(FlipPages& pages, const QByteArray& line1, const QByteArray& line2,
              const DisplayFont& font) {
    TDirectDrawSurface* back = pages.BackSurface();
    if (!back)
        return;
    // One space of margin outside, two inside, on each line.
    QByteArray a = " " + line1 + " ";
    const QByteArray b = "  " + line2 + " ";
    const bool twoLines = !line2.isEmpty();
    if (twoLines)
        a += ' ';

    // No flip first: the last character stays up until the card replaces it.
    back->ColorFill(0);
    const int w = pages.Width();
    const int hScreen = pages.Height();
    TDirectDrawSurfaceCanvas& canvas = prepareCanvas(*back, font);

    const int third = trunc(hScreen / 3.0);
    int h = third;
    canvas.setFontHeight(h);
    const int wa = canvas.textWidth(a);
    const int wb = canvas.textWidth(b);
    // The wider line is meant to span the screen; widths grow with the height.
    const int wider = wa > wb ? wa : wb;
    if (wider > 0)
        h = std::max(1, trunc(h * (static_cast<double>(w) / wider)));
    h = std::min(h, third);
    canvas.setFontHeight(h);

    if (twoLines) {
        const int q = trunc((hScreen - 2.0 * h) / 7.0);
        canvas.textOut(0, 3 * q, a);
        canvas.textOut(w - canvas.textWidth(b), 4 * q + h, b);
    } else {
        canvas.textOut(trunc((w - canvas.textWidth(a)) * 0.5), trunc((hScreen - h) * 0.5), a);
    }
    canvas.Release();
    pages.Flip();
}

} // namespace quillon
