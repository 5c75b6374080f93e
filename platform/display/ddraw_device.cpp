#include "platform/display/ddraw_device.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace quillon::ddraw {

namespace {

// Pages larger than this are refused rather than allocated.
constexpr int MaxPageSide = 16384;

QString modeText(int width, int height, int bits) {
    return QStringLiteral("%1x%2x%3").arg(width).arg(height).arg(bits);
}

// The page's pixels under a rectangle of the display mode's coordinates.
QRect inPixels(const QImage& page, const QRect& area) {
    const qreal scale = page.devicePixelRatio();
    if (scale == 1.0)
        return area.intersected(page.rect());
    const QRectF r(area.x() * scale, area.y() * scale, area.width() * scale, area.height() * scale);
    return r.toAlignedRect().intersected(page.rect());
}

// The page pixel of a raw value in the mode's 16-bit format (5 red, 6 green, 5 blue bits).
QRgb pixelOf(uint32_t raw) {
    const uint32_t r = (raw >> 11) & 0x1F, g = (raw >> 5) & 0x3F, b = raw & 0x1F;
    return qRgb(int(r * 255 / 31), int(g * 255 / 63), int(b * 255 / 31));
}

// Writes a raw pixel value over pixels of the page, as a colour-fill blit does.
void fillRaw(QImage& page, const QRect& pixels, uint32_t color) {
    const QRect r = pixels & page.rect();
    if (r.isEmpty())
        return;
    const QRgb value = pixelOf(color);
    uchar* bits = page.bits();
    const qsizetype stride = page.bytesPerLine();
    // One row filled, the others copied from it: several times faster than filling each.
    auto* first = reinterpret_cast<QRgb*>(bits + r.top() * stride) + r.left();
    std::fill(first, first + r.width(), value);
    const size_t rowBytes = size_t(r.width()) * sizeof(QRgb);
    for (int y = r.top() + 1; y <= r.bottom(); ++y)
        std::memcpy(bits + y * stride + r.left() * qsizetype(sizeof(QRgb)), first, rowBytes);
}

// A page of width × height in the mode's coordinates, scale device pixels to a unit. A
// painter does not honour a ratio under 1, so a screen smaller than the mode gets a page
// of the mode's own size, scaled down when it is shown.
QImage makePage(int width, int height, double scale) {
    scale = std::max(scale, 1.0);
    const int w = qRound(width * scale);
    const int h = qRound(height * scale);
    if (width <= 0 || height <= 0 || w <= 0 || h <= 0 || w > MaxPageSide || h > MaxPageSide)
        return {};
    // The mode is 16 bits a pixel, but the pages are kept at 32: text draws about four
    // times faster on them, and they go to the screen without a conversion.
    QImage page(w, h, QImage::Format_RGB32);
    if (!page.isNull()) {
        page.fill(Qt::black);
        page.setDevicePixelRatio(scale);
    }
    return page;
}

} // namespace

// --- Surface ---

Surface::Surface(Device& device, const SurfaceDesc& desc, int width, int height)
    : device_(device), desc_(desc), page_(makePage(width, height, device.pageScale)) {
    desc_.dwWidth = static_cast<uint32_t>(width);
    desc_.dwHeight = static_cast<uint32_t>(height);
    desc_.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc_.dwRGBBitCount = static_cast<uint32_t>(device.currentMode().bits);
    device_.addSurface(this);
}

Surface::~Surface() {
    if (dc_)
        dc_->end();
    device_.removeSurface(this);
}

HRESULT Surface::Blt(const QRect* dest, Surface* source, const QRect* sourceRect, uint32_t flags,
                     const BltFx* fx) {
    if (const HRESULT refused = device_.received(QStringLiteral("Blt"), flags); refused != DD_OK)
        return refused;
    if (lost_ || (source && source->lost_))
        return DDERR_SURFACELOST;
    if (dc_ || (source && source->dc_))
        return DDERR_SURFACEBUSY;
    const QRect whole(0, 0, int(desc_.dwWidth), int(desc_.dwHeight));
    const QRect target = dest ? *dest : whole;
    if (flags & DDBLT_COLORFILL) {
        if (!fx)
            return DDERR_INVALIDPARAMS;
        const QRect pixels = inPixels(page_, target);
        if (fx->dwFillColor == 0 && pixels.contains(page_.rect()))
            takeFreePage();
        if (fx->dwFillColor == 0) {
            // Outside its lit area the page is black already.
            fillRaw(page_, pixels & lit_, 0);
            if (pixels.contains(lit_))
                lit_ = QRect();
        } else {
            fillRaw(page_, pixels, fx->dwFillColor);
            lit_ |= pixels;
        }
        return DD_OK;
    }
    if (!source)
        return DDERR_INVALIDPARAMS;
    const QRect from = inPixels(source->page_, sourceRect ? *sourceRect : source->page_.rect());
    QPainter painter(&page_);
    painter.drawImage(target, source->page_, from);
    lit_ |= inPixels(page_, target);
    return DD_OK;
}

HRESULT Surface::Flip(Surface*, uint32_t flags) {
    if (const HRESULT refused = device_.received(QStringLiteral("Flip"), flags); refused != DD_OK)
        return refused;
    if (!attached_)
        return DDERR_NOTFLIPPABLE;
    if (lost_ || attached_->lost_)
        return DDERR_SURFACELOST;
    if (dc_ || attached_->dc_)
        return DDERR_SURFACEBUSY;
    // The pages trade places; neither is copied.
    std::swap(page_, attached_->page_);
    std::swap(lit_, attached_->lit_);
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(uint32_t caps, std::shared_ptr<Surface>& out) {
    out.reset();
    if (const HRESULT refused = device_.received(QStringLiteral("GetAttachedSurface"), caps);
        refused != DD_OK)
        return refused;
    if (!attached_ || !(attached_->desc_.dwCaps & caps))
        return DDERR_NOTFOUND;
    out = attached_;
    return DD_OK;
}

HRESULT Surface::GetDC(QPainter*& dc) {
    dc = nullptr;
    if (const HRESULT refused = device_.received(QStringLiteral("GetDC")); refused != DD_OK)
        return refused;
    if (lost_)
        return DDERR_SURFACELOST;
    if (dc_)
        return DDERR_DCALREADYCREATED;
    if (page_.isNull())
        return DDERR_CANTCREATEDC;
    dc_ = std::make_unique<QPainter>(&page_);
    dc = dc_.get();
    drawnReported_ = false;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(QPainter* dc) {
    if (const HRESULT refused = device_.received(QStringLiteral("ReleaseDC")); refused != DD_OK)
        return refused;
    if (!dc_ || dc != dc_.get())
        return DDERR_NODC;
    dc_->end();
    dc_.reset();
    // Drawing nobody reported may be anywhere.
    if (!drawnReported_)
        lit_ = page_.rect();
    return DD_OK;
}

// A page still on the screen (shared with the presenter) is not drawn on: a page that is
// wholly blackened is exchanged for the spare one instead of being copied first.
void Surface::takeFreePage() {
    if (page_.isDetached())
        return;
    if (spare_.isNull() || !spare_.isDetached()) {
        spare_ = QImage(page_.size(), page_.format());
        spare_.fill(Qt::black);
        spare_.setDevicePixelRatio(page_.devicePixelRatio());
        spareLit_ = QRect();
    }
    std::swap(page_, spare_);
    std::swap(lit_, spareLit_);
}

void Surface::noteDrawn(const QRect& area) {
    lit_ |= inPixels(page_, area);
    drawnReported_ = true;
}

HRESULT Surface::IsLost() const {
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore() {
    if (const HRESULT refused = device_.received(QStringLiteral("Restore")); refused != DD_OK)
        return refused;
    lost_ = false;
    if (attached_)
        attached_->lost_ = false;
    return DD_OK;
}

HRESULT Surface::SetPalette(const std::shared_ptr<Palette>& palette) {
    if (const HRESULT refused = device_.received(QStringLiteral("SetPalette")); refused != DD_OK)
        return refused;
    if (lost_)
        return DDERR_SURFACELOST;
    // Only 8-bit pages have a palette.
    if (desc_.dwRGBBitCount != 8)
        return DDERR_INVALIDPIXELFORMAT;
    palette_ = palette;
    return DD_OK;
}

HRESULT Surface::SetClipper(const std::shared_ptr<Clipper>& clipper) {
    if (const HRESULT refused = device_.received(QStringLiteral("SetClipper")); refused != DD_OK)
        return refused;
    clipper_ = clipper;
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(SurfaceDesc& desc) const {
    desc = desc_;
    return DD_OK;
}

void Surface::Release() {
    device_.received(QStringLiteral("Release Surface"), desc_.dwCaps);
}

void Surface::markLost() {
    lost_ = true;
    // What was on a lost page is gone; make that visible rather than keep it.
    if (!page_.isNull())
        page_.fill(Qt::white);
    lit_ = page_.rect();
}

// --- Palette ---

HRESULT Palette::SetEntries(int start, const PaletteEntry* entries, int count) {
    if (start < 0 || count < 0 || start + count > 256 || (!entries && count > 0))
        return DDERR_INVALIDPARAMS;
    std::copy(entries, entries + count, entries_.begin() + start);
    return DD_OK;
}

// --- DirectDraw ---

DirectDraw::~DirectDraw() {
    Release();
}

HRESULT DirectDraw::QueryInterface(int version) {
    if (const HRESULT refused =
            device_.received(QStringLiteral("QueryInterface"), static_cast<uint32_t>(version));
        refused != DD_OK)
        return refused;
    return DD_OK;
}

HRESULT DirectDraw::GetCaps(Caps* driver, Caps* emulation) {
    if (const HRESULT refused = device_.received(QStringLiteral("GetCaps")); refused != DD_OK)
        return refused;
    if ((driver && driver->dwSize != 380) || (emulation && emulation->dwSize != 380))
        return DDERR_INVALIDPARAMS;
    if (driver)
        driver->dwVidMemTotal = 64u << 20;
    return DD_OK;
}

HRESULT DirectDraw::SetCooperativeLevel(const void*, uint32_t flags) {
    if (const HRESULT refused = device_.received(QStringLiteral("SetCooperativeLevel"), flags);
        refused != DD_OK)
        return refused;
    return DD_OK;
}

HRESULT DirectDraw::EnumDisplayModes(uint32_t flags, std::vector<SurfaceDesc>& out) {
    out.clear();
    if (const HRESULT refused = device_.received(QStringLiteral("EnumDisplayModes"), flags);
        refused != DD_OK)
        return refused;
    for (const DisplayMode& m : device_.modes) {
        SurfaceDesc d;
        d.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        d.dwWidth = static_cast<uint32_t>(m.width);
        d.dwHeight = static_cast<uint32_t>(m.height);
        d.dwRGBBitCount = static_cast<uint32_t>(m.bits);
        out.push_back(d);
    }
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(int width, int height, int bits) {
    if (const HRESULT refused =
            device_.received(QStringLiteral("SetDisplayMode ") + modeText(width, height, bits),
                             static_cast<uint32_t>(bits));
        refused != DD_OK)
        return refused;
    const DisplayMode wanted{width, height, bits};
    const auto& modes = device_.modes;
    if (std::find(modes.begin(), modes.end(), wanted) == modes.end())
        return DDERR_INVALIDMODE;
    device_.setCurrentMode(wanted);
    modeChanged_ = true;
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>& out) {
    out.reset();
    if (const HRESULT refused = device_.received(QStringLiteral("CreateSurface"), desc.dwCaps);
        refused != DD_OK)
        return refused;
    const DisplayMode mode = device_.currentMode();
    if (desc.dwCaps & DDSCAPS_PRIMARYSURFACE) {
        SurfaceDesc primary = desc;
        primary.dwCaps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_FRONTBUFFER;
        auto surface = std::make_shared<Surface>(device_, primary, mode.width, mode.height);
        if (surface->page().isNull())
            return DDERR_OUTOFMEMORY;
        const bool chain = (desc.dwFlags & DDSD_BACKBUFFERCOUNT) && desc.dwBackBufferCount == 1 &&
                           (desc.dwCaps & DDSCAPS_FLIP) && (desc.dwCaps & DDSCAPS_COMPLEX);
        if (chain) {
            SurfaceDesc back;
            back.dwFlags = DDSD_CAPS;
            back.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
            surface->attached_ = std::make_shared<Surface>(device_, back, mode.width, mode.height);
        }
        device_.setPrimary(surface);
        out = surface;
        return DD_OK;
    }
    if (desc.dwCaps & DDSCAPS_OFFSCREENPLAIN) {
        if (!(desc.dwFlags & DDSD_WIDTH) || !(desc.dwFlags & DDSD_HEIGHT))
            return DDERR_INVALIDPARAMS;
        SurfaceDesc plain = desc;
        const bool system = desc.dwCaps & DDSCAPS_SYSTEMMEMORY;
        plain.dwCaps = (plain.dwCaps & ~DDSCAPS_SYSTEMMEMORY) |
                       (system ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_VIDEOMEMORY);
        auto surface = std::make_shared<Surface>(device_, plain, static_cast<int>(desc.dwWidth),
                                                 static_cast<int>(desc.dwHeight));
        if (surface->page().isNull())
            return DDERR_OUTOFMEMORY;
        out = surface;
        return DD_OK;
    }
    return DDERR_INVALIDPARAMS;
}

HRESULT DirectDraw::CreatePalette(uint32_t caps, const PaletteEntry* entries,
                                  std::shared_ptr<Palette>& out) {
    out.reset();
    if (const HRESULT refused = device_.received(QStringLiteral("CreatePalette"), caps);
        refused != DD_OK)
        return refused;
    out = std::make_shared<Palette>(caps);
    return out->SetEntries(0, entries, entries ? 256 : 0);
}

HRESULT DirectDraw::CreateClipper(uint32_t flags, std::shared_ptr<Clipper>& out) {
    if (const HRESULT refused = device_.received(QStringLiteral("CreateClipper"), flags);
        refused != DD_OK)
        return refused;
    out = std::make_shared<Clipper>();
    return DD_OK;
}

HRESULT DirectDraw::WaitForVerticalBlank(uint32_t flags) {
    // Presenting never blocks here: the window system paces what reaches the screen.
    if (const HRESULT refused = device_.received(QStringLiteral("WaitForVerticalBlank"), flags);
        refused != DD_OK)
        return refused;
    return DD_OK;
}

HRESULT DirectDraw::FlipToGDISurface() {
    if (const HRESULT refused = device_.received(QStringLiteral("FlipToGDISurface"));
        refused != DD_OK)
        return refused;
    return DD_OK;
}

void DirectDraw::Release() {
    if (released_)
        return;
    released_ = true;
    device_.received(QStringLiteral("Release DirectDraw"));
    if (modeChanged_)
        device_.setCurrentMode(device_.desktop);
}

// --- Device ---

std::vector<DisplayMode> usualModes() {
    std::vector<DisplayMode> modes;
    const std::pair<int, int> sizes[] = {
        {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1920, 1080}};
    for (const auto& [w, h] : sizes)
        for (int bits : {8, 16, 24, 32})
            modes.push_back({w, h, bits});
    return modes;
}

Device::Device() : modes(usualModes()), current_(desktop) {}
Device::~Device() = default;

HRESULT Device::received(const QString&, uint32_t) {
    return DD_OK;
}

HRESULT Device::create(std::shared_ptr<DirectDraw>& out) {
    out.reset();
    if (const HRESULT refused = received(QStringLiteral("DirectDrawCreate")); refused != DD_OK)
        return refused;
    out = std::make_shared<DirectDraw>(*this);
    return DD_OK;
}

} // namespace quillon::ddraw
