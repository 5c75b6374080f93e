// Surfaces of the DirectDraw object, and the canvas that draws text on a surface's page.
#include "platform/display/surface.h"

#include "platform/text/sjis.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace quillon {

namespace {

template <typename T> void forget(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// The pixel size at which the font's cell (ascent + descent) is as high as asked.
int pixelSizeForCell(QFont font, int cellHeight) {
    auto cellAt = [&font](int px) {
        font.setPixelSize(px);
        const QFontMetrics m(font);
        return m.ascent() + m.descent();
    };
    const int atRequest = cellAt(cellHeight);
    if (atRequest == cellHeight || atRequest <= 0)
        return cellHeight;
    int px =
        std::max(1, static_cast<int>(static_cast<long long>(cellHeight) * cellHeight / atRequest));
    // Metrics round per size; settle on the largest size whose cell still fits.
    for (int i = 0; i < 8 && px > 1 && cellAt(px) > cellHeight; ++i)
        --px;
    for (int i = 0; i < 8 && cellAt(px + 1) <= cellHeight; ++i)
        ++px;
    return px;
}

} // namespace

// --- TDirectDrawSurface ---

TDirectDrawSurface::TDirectDrawSurface(TDirectDraw& draw) : draw_(draw) {
    draw_.surfaces_.push_back(this);
}

TDirectDrawSurface::~TDirectDrawSurface() {
    canvas_.reset(); // hands back a device context still held
    setSurface(nullptr);
    forget(draw_.surfaces_, this);
}

void TDirectDrawSurface::setSurface(std::shared_ptr<ddraw::Surface> surface) {
    if (canvas_)
        canvas_->Release();
    if (surface_)
        surface_->Release();
    surface_ = std::move(surface);
    desc_ = {};
    if (surface_)
        surface_->GetSurfaceDesc(desc_);
}

bool TDirectDrawSurface::CreateSurface(const ddraw::SurfaceDesc& desc) {
    std::shared_ptr<ddraw::Surface> made;
    setLastResult(draw_.drawInterface().CreateSurface(desc, made));
    setSurface(LastResult() == ddraw::DD_OK ? made : nullptr);
    return hasInterface();
}

bool TDirectDrawSurface::takeAttachedSurface(TDirectDrawSurface& from, uint32_t caps) {
    std::shared_ptr<ddraw::Surface> attached;
    setLastResult(from.surfaceInterface().GetAttachedSurface(caps, attached));
    setSurface(LastResult() == ddraw::DD_OK ? attached : nullptr);
    return hasInterface();
}

ddraw::Surface& TDirectDrawSurface::surfaceInterface() {
    if (!surface_)
        throw EDirectDrawSurfaceError(
            formatMessage(QCoreApplication::translate("Errors", "%s は作成されていません"),
                          {QStringLiteral("IDirectDrawSurface")}));
    return *surface_;
}

bool TDirectDrawSurface::ColorFill(uint32_t color) {
    if (!surface_)
        return false;
    ddraw::BltFx fx;
    fx.dwFillColor = color;
    setLastResult(
        surface_->Blt(nullptr, nullptr, nullptr, ddraw::DDBLT_COLORFILL | ddraw::DDBLT_WAIT, &fx));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDrawSurface::Blt(const QRect* dest, TDirectDrawSurface* source, uint32_t flags) {
    if (!surface_ || !source || !source->surface_)
        return false;
    ddraw::BltFx fx;
    setLastResult(surface_->Blt(dest, source->surface_.get(), nullptr, flags, &fx));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDrawSurface::Flip() {
    if (!surface_)
        return false;
    setLastResult(surface_->Flip(nullptr, ddraw::DDFLIP_WAIT));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDrawSurface::IsLost() {
    if (!surface_)
        return false;
    setLastResult(surface_->IsLost());
    return LastResult() == ddraw::DDERR_SURFACELOST;
}

bool TDirectDrawSurface::Restore() {
    if (!surface_)
        return false;
    setLastResult(surface_->Restore());
    return LastResult() == ddraw::DD_OK;
}

void TDirectDrawSurface::SetPalette(TDirectDrawPalette* palette) {
    if (surface_)
        setLastResult(surface_->SetPalette(palette ? palette->paletteInterface() : nullptr));
}

void TDirectDrawSurface::SetClipper(TDirectDrawClipper* clipper) {
    if (surface_)
        setLastResult(surface_->SetClipper(clipper ? clipper->clipperInterface() : nullptr));
}

bool TDirectDrawSurface::inSystemMemory() const {
    return (desc_.dwCaps & ddraw::DDSCAPS_SYSTEMMEMORY) != 0;
}

TDirectDrawSurfaceCanvas* TDirectDrawSurface::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    return canvas_.get();
}

const QImage* TDirectDrawSurface::page() const {
    return surface_ ? &surface_->page() : nullptr;
}

// --- TDirectDrawSurfaceCanvas ---

TDirectDrawSurfaceCanvas::~TDirectDrawSurfaceCanvas() {
    Release();
}

QPainter* TDirectDrawSurfaceCanvas::handle() {
    if (!dc_ && surface_.surface_) {
        QPainter* dc = nullptr;
        surface_.setLastResult(surface_.surface_->GetDC(dc));
        if (surface_.LastResult() == ddraw::DD_OK)
            dc_ = dc;
    }
    return dc_;
}

void TDirectDrawSurfaceCanvas::Release() {
    if (surface_.surface_ && dc_)
        surface_.setLastResult(surface_.surface_->ReleaseDC(dc_));
    dc_ = nullptr;
}

void TDirectDrawSurfaceCanvas::setBrushClear() {
    brushClear_ = true;
}

void TDirectDrawSurfaceCanvas::setBrushColor(const QColor& color) {
    brushColor_ = color;
    brushClear_ = false;
}

void TDirectDrawSurfaceCanvas::setFontColor(const QColor& color) {
    fontColor_ = color;
}

void TDirectDrawSurfaceCanvas::setFontName(const QString& face) {
    if (face != face_) {
        face_ = face;
        fontDirty_ = true;
    }
}

// Qt picks glyphs by the characters themselves, so the character set is only kept.
void TDirectDrawSurfaceCanvas::setFontCharset(int charset) {
    charset_ = charset;
}

void TDirectDrawSurfaceCanvas::setFontHeight(int height) {
    if (height != fontHeight_) {
        fontHeight_ = height;
        fontDirty_ = true;
    }
}

const QFont& TDirectDrawSurfaceCanvas::Font() {
    if (fontDirty_) {
        QFont font(face_);
        if (fontHeight_ > 0)
            font.setPixelSize(pixelSizeForCell(font, fontHeight_));
        else if (fontHeight_ < 0)
            font.setPixelSize(-fontHeight_);
        font_ = font;
        fontDirty_ = false;
    }
    return font_;
}

int TDirectDrawSurfaceCanvas::textWidth(const QByteArray& sjisText) {
    if (!handle())
        return 0;
    return measureText(sjisText);
}

int TDirectDrawSurfaceCanvas::measureText(const QByteArray& sjisText) {
    return QFontMetrics(Font()).horizontalAdvance(sjis::toUnicode(sjisText));
}

// Placed by the top-left corner of the cell, like the text output it stands for.
TextPlacement TDirectDrawSurfaceCanvas::placement(int x, int y, const QByteArray& sjisText) {
    const QFont& font = Font();
    const qreal scale = surface_.surface_ ? surface_.surface_->page().devicePixelRatio() : 1.0;
    return {font, fontColor_.rgba(), scale, QPoint(x, y + QFontMetrics(font).ascent()),
            sjis::toUnicode(sjisText)};
}

void TDirectDrawSurfaceCanvas::prepareText(int x, int y, const QByteArray& sjisText) {
    if (brushClear_ && surface_.surface_ && !surface_.surface_->page().isNull())
        stamps_.prepare(placement(x, y, sjisText));
}

void TDirectDrawSurfaceCanvas::textOut(int x, int y, const QByteArray& sjisText) {
    QPainter* dc = handle();
    if (!dc)
        return;
    const TextPlacement placed = placement(x, y, sjisText);
    ddraw::Surface& page = *surface_.surface_;
    if (!brushClear_ || !stamps_.put(placed, page.page(), page.litArea())) {
        dc->setFont(placed.font);
        dc->setPen(fontColor_);
        dc->setBackgroundMode(brushClear_ ? Qt::TransparentMode : Qt::OpaqueMode);
        dc->setBackground(brushColor_);
        dc->drawText(placed.origin, placed.text);
    }
    // The cell and whatever of the glyphs stands out of it, with a pixel of smoothing.
    const QFontMetrics metrics(placed.font);
    const QRect cell(x, y, metrics.horizontalAdvance(placed.text),
                     metrics.ascent() + metrics.descent());
    const QRect ink = metrics.boundingRect(placed.text).translated(placed.origin);
    page.noteDrawn((cell | ink).adjusted(-2, -2, 2, 2));
}

} // namespace quillon
