// The DirectDraw wrappers: the object, surfaces with their canvas, palettes, clippers.
#include "platform/display/dxdraw.h"
#include "platform/text/sjis.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace quillon {

namespace {

template <typename T> void forget(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

template <typename T> void freeAll(std::vector<T*>& list) {
    while (!list.empty())
        delete list.back(); // the destructor takes it off the list
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

const TColorTable& systemPalette() {
    static const TColorTable table = [] {
        TColorTable t{};
        const uint8_t low[10][3] = {{0, 0, 0},       {128, 0, 0},    {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128},  {0, 128, 128}, {192, 192, 192},
                                    {192, 220, 192}, {166, 202, 240}};
        const uint8_t high[10][3] = {
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
        for (int i = 0; i < 10; ++i) {
            t[i] = {low[i][0], low[i][1], low[i][2], 0};
            t[246 + i] = {high[i][0], high[i][1], high[i][2], 0};
        }
        return t;
    }();
    return table;
}

// --- TDirectDraw ---

TDirectDraw::TDirectDraw(bool directX7Mode) {
    ddraw::Device& device = ddraw::programDisplayDevice();
    if (!device.libraryAvailable)
        throw Exception(
            formatMessage(QStringLiteral("%s を読み込めません"), {QStringLiteral("DDraw.dll")}));
    setLastResult(device.Create(draw_));
    if (LastResult() != ddraw::DD_OK || !draw_)
        throw EDirectDrawError(
            formatMessage(QStringLiteral("%s を初期化できません"), {QStringLiteral("DirectDraw")}));
    if (directX7Mode) {
        if (draw_->QueryInterface(4) != ddraw::DD_OK || draw_->QueryInterface(7) != ddraw::DD_OK)
            throw EDirectDrawError(QStringLiteral("DirectX 7 以降が必要です"));
    } else if (draw_->QueryInterface(4) != ddraw::DD_OK) {
        throw EDirectDrawError(QStringLiteral("DirectX 6 以降が必要です"));
    }
    setLastResult(draw_->GetCaps(&driverCaps_, &helCaps_));
}

TDirectDraw::~TDirectDraw() {
    freeAll(surfaces_);
    freeAll(palettes_);
    freeAll(clippers_);
    if (draw_)
        draw_->Release();
}

ddraw::DirectDraw& TDirectDraw::IDraw() {
    if (!draw_)
        throw EDirectDrawError(formatMessage(QStringLiteral("%s は作成されていません"),
                                             {QStringLiteral("IDirectDraw")}));
    return *draw_;
}

bool TDirectDraw::SetCooperativeLevel(const void* window, uint32_t flags) {
    setLastResult(IDraw().SetCooperativeLevel(window, flags));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDraw::SetDisplayMode(int width, int height, int bits) {
    setLastResult(IDraw().SetDisplayMode(width, height, bits));
    return LastResult() == ddraw::DD_OK;
}

std::vector<ddraw::SurfaceDesc> TDirectDraw::EnumDisplayModes() {
    std::vector<ddraw::SurfaceDesc> modes;
    setLastResult(IDraw().EnumDisplayModes(0, modes));
    return modes;
}

bool TDirectDraw::WaitForVerticalBlank(uint32_t flags) {
    setLastResult(IDraw().WaitForVerticalBlank(flags));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDraw::FlipToGDISurface() {
    setLastResult(IDraw().FlipToGDISurface());
    return LastResult() == ddraw::DD_OK;
}

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
    setLastResult(draw_.IDraw().CreateSurface(desc, made));
    setSurface(LastResult() == ddraw::DD_OK ? made : nullptr);
    return HasInterface();
}

bool TDirectDrawSurface::TakeAttachedSurface(TDirectDrawSurface& from, uint32_t caps) {
    std::shared_ptr<ddraw::Surface> attached;
    setLastResult(from.ISurface().GetAttachedSurface(caps, attached));
    setSurface(LastResult() == ddraw::DD_OK ? attached : nullptr);
    return HasInterface();
}

ddraw::Surface& TDirectDrawSurface::ISurface() {
    if (!surface_)
        throw EDirectDrawSurfaceError(formatMessage(QStringLiteral("%s は作成されていません"),
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
        setLastResult(surface_->SetPalette(palette ? palette->IPalette() : nullptr));
}

void TDirectDrawSurface::SetClipper(TDirectDrawClipper* clipper) {
    if (surface_)
        setLastResult(surface_->SetClipper(clipper ? clipper->IClipper() : nullptr));
}

bool TDirectDrawSurface::InSystemMemory() const {
    return (desc_.dwCaps & ddraw::DDSCAPS_SYSTEMMEMORY) != 0;
}

TDirectDrawSurfaceCanvas* TDirectDrawSurface::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    return canvas_.get();
}

const QImage* TDirectDrawSurface::Page() const {
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

int TDirectDrawSurfaceCanvas::TextWidth(const QByteArray& sjisText) {
    if (!handle())
        return 0;
    return QFontMetrics(Font()).horizontalAdvance(sjis::toUnicode(sjisText));
}

void TDirectDrawSurfaceCanvas::TextOut(int x, int y, const QByteArray& sjisText) {
    QPainter* dc = handle();
    if (!dc)
        return;
    const QFont& font = Font();
    dc->setFont(font);
    dc->setPen(fontColor_);
    dc->setBackgroundMode(brushClear_ ? Qt::TransparentMode : Qt::OpaqueMode);
    dc->setBackground(brushColor_);
    // Placed by the top-left corner of the cell, like the text output it stands for.
    dc->drawText(x, y + QFontMetrics(font).ascent(), sjis::toUnicode(sjisText));
}

// --- TDirectDrawPalette, TDirectDrawClipper ---

TDirectDrawPalette::TDirectDrawPalette(TDirectDraw& draw) : draw_(draw) {
    draw_.palettes_.push_back(this);
}

TDirectDrawPalette::~TDirectDrawPalette() {
    forget(draw_.palettes_, this);
}

bool TDirectDrawPalette::CreatePalette(uint32_t caps, const TColorTable& entries) {
    setLastResult(draw_.IDraw().CreatePalette(caps, entries.data(), palette_));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDrawPalette::SetEntries(const TColorTable& entries) {
    if (!palette_)
        return false;
    setLastResult(palette_->SetEntries(0, entries.data(), 256));
    return LastResult() == ddraw::DD_OK;
}

TDirectDrawClipper::TDirectDrawClipper(TDirectDraw& draw) : draw_(draw) {
    setLastResult(draw_.IDraw().CreateClipper(0, clipper_));
    if (LastResult() != ddraw::DD_OK)
        throw EDirectDrawClipperError(
            formatMessage(QStringLiteral("%s を作成できません"), {QStringLiteral("クリッパー")}));
    draw_.clippers_.push_back(this);
}

TDirectDrawClipper::~TDirectDrawClipper() {
    forget(draw_.clippers_, this);
}

bool TDirectDrawClipper::SetHandle(const void* window) {
    setLastResult(clipper_->SetHWnd(window));
    return LastResult() == ddraw::DD_OK;
}

} // namespace quillon
