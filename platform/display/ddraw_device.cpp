#include "platform/display/ddraw_device.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace quillon::ddraw {

namespace {

// Pages larger than this are refused rather than allocated.
constexpr int maxPageSide = 16384;

QString modeText(int width, int height, int bits) {
    return QStringLiteral("%1x%2x%3").arg(width).arg(height).arg(bits);
}

// Writes a raw 16-bit pixel value, as a colour-fill blit does.
void fillRaw(QImage& page, const QRect& area, uint32_t color) {
    const QRect r = area.intersected(page.rect());
    const auto value = static_cast<uint16_t>(color);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<uint16_t*>(page.scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, value);
    }
}

QImage makePage(int width, int height) {
    if (width <= 0 || height <= 0 || width > maxPageSide || height > maxPageSide)
        return {};
    QImage page(width, height, QImage::Format_RGB16);
    if (!page.isNull())
        page.fill(0);
    return page;
}

} // namespace

// --- Surface ---

Surface::Surface(Device& device, const SurfaceDesc& desc, int width, int height)
    : device_(device), desc_(desc), page_(makePage(width, height)) {
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
    device_.record(QStringLiteral("Blt"), flags);
    if (lost_ || (source && source->lost_))
        return DDERR_SURFACELOST;
    if (dc_ || (source && source->dc_))
        return DDERR_SURFACEBUSY;
    const QRect target = dest ? *dest : page_.rect();
    if (flags & DDBLT_COLORFILL) {
        if (!fx)
            return DDERR_INVALIDPARAMS;
        fillRaw(page_, target, fx->dwFillColor);
        return DD_OK;
    }
    if (!source)
        return DDERR_INVALIDPARAMS;
    const QRect from = sourceRect ? *sourceRect : source->page_.rect();
    QPainter painter(&page_);
    painter.drawImage(target, source->page_, from);
    return DD_OK;
}

HRESULT Surface::Flip(Surface*, uint32_t flags) {
    device_.record(QStringLiteral("Flip"), flags);
    if (!attached_)
        return DDERR_NOTFLIPPABLE;
    if (lost_ || attached_->lost_)
        return DDERR_SURFACELOST;
    if (dc_ || attached_->dc_)
        return DDERR_SURFACEBUSY;
    // The pages trade places; neither is copied.
    std::swap(page_, attached_->page_);
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(uint32_t caps, std::shared_ptr<Surface>& out) {
    device_.record(QStringLiteral("GetAttachedSurface"), caps);
    out.reset();
    if (device_.attachedSurfaceMissing || !attached_ || !(attached_->desc_.dwCaps & caps))
        return DDERR_NOTFOUND;
    out = attached_;
    return DD_OK;
}

HRESULT Surface::GetDC(QPainter*& dc) {
    device_.record(QStringLiteral("GetDC"));
    dc = nullptr;
    if (lost_)
        return DDERR_SURFACELOST;
    if (dc_)
        return DDERR_DCALREADYCREATED;
    if (device_.getDCFails || page_.isNull())
        return DDERR_CANTCREATEDC;
    dc_ = std::make_unique<QPainter>(&page_);
    dc = dc_.get();
    return DD_OK;
}

HRESULT Surface::ReleaseDC(QPainter* dc) {
    device_.record(QStringLiteral("ReleaseDC"));
    if (!dc_ || dc != dc_.get())
        return DDERR_NODC;
    dc_->end();
    dc_.reset();
    return DD_OK;
}

HRESULT Surface::IsLost() const {
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore() {
    device_.record(QStringLiteral("Restore"));
    if (device_.restoreFails)
        return DDERR_WRONGMODE;
    lost_ = false;
    if (attached_)
        attached_->lost_ = false;
    return DD_OK;
}

HRESULT Surface::SetPalette(const std::shared_ptr<Palette>& palette) {
    device_.record(QStringLiteral("SetPalette"));
    if (lost_)
        return DDERR_SURFACELOST;
    // Only 8-bit pages have a palette.
    if (desc_.dwRGBBitCount != 8)
        return DDERR_INVALIDPIXELFORMAT;
    palette_ = palette;
    return DD_OK;
}

HRESULT Surface::SetClipper(const std::shared_ptr<Clipper>& clipper) {
    device_.record(QStringLiteral("SetClipper"));
    clipper_ = clipper;
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(SurfaceDesc& desc) const {
    desc = desc_;
    return DD_OK;
}

void Surface::Release() {
    device_.record(QStringLiteral("Release Surface"), desc_.dwCaps);
}

void Surface::markLost() {
    lost_ = true;
    // What was on a lost page is gone; make that visible rather than keep it.
    if (!page_.isNull())
        page_.fill(0xFFFF);
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
    device_.record(QStringLiteral("QueryInterface"), static_cast<uint32_t>(version));
    if (version >= 7)
        return device_.supportsDirectDraw7 ? DD_OK : DDERR_NOINTERFACE;
    if (version >= 4)
        return device_.supportsDirectDraw4 ? DD_OK : DDERR_NOINTERFACE;
    return DD_OK;
}

HRESULT DirectDraw::GetCaps(Caps* driver, Caps* emulation) {
    device_.record(QStringLiteral("GetCaps"));
    if ((driver && driver->dwSize != 380) || (emulation && emulation->dwSize != 380))
        return DDERR_INVALIDPARAMS;
    if (driver)
        driver->dwVidMemTotal = 64u << 20;
    return DD_OK;
}

HRESULT DirectDraw::SetCooperativeLevel(const void*, uint32_t flags) {
    device_.record(QStringLiteral("SetCooperativeLevel"), flags);
    return DD_OK;
}

HRESULT DirectDraw::EnumDisplayModes(uint32_t flags, std::vector<SurfaceDesc>& out) {
    device_.record(QStringLiteral("EnumDisplayModes"), flags);
    out.clear();
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
    device_.record(QStringLiteral("SetDisplayMode ") + modeText(width, height, bits),
                   static_cast<uint32_t>(bits));
    const DisplayMode wanted{width, height, bits};
    const auto& modes = device_.modes;
    if (std::find(modes.begin(), modes.end(), wanted) == modes.end() ||
        device_.modesFailingToSet.count(wanted))
        return DDERR_INVALIDMODE;
    device_.setCurrentMode(wanted);
    modeChanged_ = true;
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>& out) {
    device_.record(QStringLiteral("CreateSurface"), desc.dwCaps);
    out.reset();
    const DisplayMode mode = device_.currentMode();
    if (desc.dwCaps & DDSCAPS_PRIMARYSURFACE) {
        if (device_.primaryFails)
            return DDERR_GENERIC;
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
            back.dwCaps =
                DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                (device_.backBufferInSystemMemory ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_VIDEOMEMORY);
            surface->attached_ = std::make_shared<Surface>(device_, back, mode.width, mode.height);
        }
        device_.setPrimary(surface);
        out = surface;
        return DD_OK;
    }
    if (desc.dwCaps & DDSCAPS_OFFSCREENPLAIN) {
        if (!(desc.dwFlags & DDSD_WIDTH) || !(desc.dwFlags & DDSD_HEIGHT))
            return DDERR_INVALIDPARAMS;
        if (device_.offscreenFailures > 0) {
            --device_.offscreenFailures;
            return DDERR_OUTOFMEMORY;
        }
        SurfaceDesc plain = desc;
        const bool system =
            (desc.dwCaps & DDSCAPS_SYSTEMMEMORY) || device_.backBufferInSystemMemory;
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
    device_.record(QStringLiteral("CreatePalette"), caps);
    out = std::make_shared<Palette>(caps);
    return out->SetEntries(0, entries, entries ? 256 : 0);
}

HRESULT DirectDraw::CreateClipper(uint32_t flags, std::shared_ptr<Clipper>& out) {
    device_.record(QStringLiteral("CreateClipper"), flags);
    out = std::make_shared<Clipper>();
    return DD_OK;
}

HRESULT DirectDraw::WaitForVerticalBlank(uint32_t flags) {
    // Presenting never blocks here: the window system paces what reaches the screen.
    device_.record(QStringLiteral("WaitForVerticalBlank"), flags);
    return DD_OK;
}

HRESULT DirectDraw::FlipToGDISurface() {
    device_.record(QStringLiteral("FlipToGDISurface"));
    return DD_OK;
}

void DirectDraw::Release() {
    if (released_)
        return;
    released_ = true;
    device_.record(QStringLiteral("Release DirectDraw"));
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

void Device::loseSurfaces() {
    for (Surface* s : surfaces_)
        s->markLost();
}

int Device::countCalls(const QString& name) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [&](const DeviceCall& c) { return c.name == name; }));
}

HRESULT Device::Create(std::shared_ptr<DirectDraw>& out) {
    record(QStringLiteral("DirectDrawCreate"));
    out.reset();
    if (createFails)
        return DDERR_GENERIC;
    out = std::make_shared<DirectDraw>(*this);
    return DD_OK;
}

Device& defaultDisplayDevice() {
    static Device device = [] {
        Device d;
        // The desktop's mode is the screen's; windowed primaries have its size.
        if (qGuiApp)
            if (QScreen* screen = QGuiApplication::primaryScreen())
                d.desktop = {screen->size().width(), screen->size().height(), 32};
        d.setCurrentMode(d.desktop);
        return d;
    }();
    return device;
}

} // namespace quillon::ddraw
