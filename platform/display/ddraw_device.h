#pragma once
// Our software display device: the DirectDraw-like calls the drawing component makes,
// over pages held in memory. The display mode is virtual; the desktop never changes.
// Every call passes through Device::received, where a device made for a test may record
// it or refuse it.
#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

class QPainter;

namespace quillon::ddraw {

using HRESULT = int32_t;
constexpr HRESULT makeResult(uint32_t code) {
    return static_cast<HRESULT>(0x88760000u + code);
}

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT DDERR_INVALIDMODE = makeResult(80);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = makeResult(145);
constexpr HRESULT DDERR_NOTFLIPPABLE = makeResult(330);
constexpr HRESULT DDERR_NOTFOUND = makeResult(255);
constexpr HRESULT DDERR_SURFACEBUSY = makeResult(430);
constexpr HRESULT DDERR_SURFACELOST = makeResult(450); // 0x887601C2
constexpr HRESULT DDERR_WRONGMODE = makeResult(587);
constexpr HRESULT DDERR_CANTCREATEDC = makeResult(588);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = makeResult(590);
constexpr HRESULT DDERR_NODC = makeResult(602);
constexpr HRESULT DDERR_DCALREADYCREATED = makeResult(620);

// Cooperative level
constexpr uint32_t DDSCL_FULLSCREEN = 0x01;
constexpr uint32_t DDSCL_ALLOWREBOOT = 0x02;
constexpr uint32_t DDSCL_NOWINDOWCHANGES = 0x04;
constexpr uint32_t DDSCL_NORMAL = 0x08;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr uint32_t DDSCL_ALLOWMODEX = 0x40;
// Surface description fields
constexpr uint32_t DDSD_CAPS = 0x01;
constexpr uint32_t DDSD_HEIGHT = 0x02;
constexpr uint32_t DDSD_WIDTH = 0x04;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;
// Surface capabilities
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x04;
constexpr uint32_t DDSCAPS_COMPLEX = 0x08;
constexpr uint32_t DDSCAPS_FLIP = 0x10;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x20;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_3DDEVICE = 0x2000;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;
// Blits, flips, waits, palettes
constexpr uint32_t DDBLT_COLORFILL = 0x400;
constexpr uint32_t DDBLT_WAIT = 0x01000000;
constexpr uint32_t DDFLIP_WAIT = 0x01;
constexpr uint32_t DDWAITVB_BLOCKBEGIN = 0x01;
constexpr uint32_t DDPCAPS_8BIT = 0x04;
constexpr uint32_t DDPCAPS_PRIMARYSURFACE = 0x08;
constexpr uint32_t DDPCAPS_ALLOW256 = 0x40;

// The 108-byte surface description, reduced to the fields anyone reads.
struct SurfaceDesc {
    uint32_t dwSize = 108;
    uint32_t dwFlags = 0;
    uint32_t dwHeight = 0;
    uint32_t dwWidth = 0;
    uint32_t dwBackBufferCount = 0;
    uint32_t dwRGBBitCount = 0;
    uint32_t dwCaps = 0;
};

// The 100-byte blit effects record; only the fill colour is used.
struct BltFx {
    uint32_t dwSize = 100;
    uint32_t dwFillColor = 0;
};

// The 380-byte capability record.
struct Caps {
    uint32_t dwSize = 380;
    uint32_t dwCaps = 0;
    uint32_t dwVidMemTotal = 0;
};

struct PaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bits = 0;
    // The compared members are ints; the check mistakes the defaulted operator's zero.
    auto operator<=>(const DisplayMode&) const = default; // NOLINT(modernize-use-nullptr)
};

class Device;
class Palette;
class Clipper;

class Surface {
public:
    Surface(Device& device, const SurfaceDesc& desc, int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HRESULT Blt(const QRect* dest, Surface* source, const QRect* sourceRect, uint32_t flags,
                const BltFx* fx);
    HRESULT Flip(Surface* target, uint32_t flags);
    HRESULT GetAttachedSurface(uint32_t caps, std::shared_ptr<Surface>& out);
    // The device context is a painter on the page.
    HRESULT GetDC(QPainter*& dc);
    HRESULT ReleaseDC(QPainter* dc);
    HRESULT IsLost() const;
    HRESULT Restore();
    HRESULT SetPalette(const std::shared_ptr<Palette>& palette);
    HRESULT SetClipper(const std::shared_ptr<Clipper>& clipper);
    HRESULT GetSurfaceDesc(SurfaceDesc& desc) const;
    void Release();

    // The page: width × height of the mode at the device's page scale, its device-pixel
    // ratio the scale, so drawing on it uses the mode's coordinates.
    const QImage& page() const { return page_; }
    QImage& page() { return page_; }
    // Where the page may hold anything but black, in the page's pixels: what a fill
    // blackened is left out, what was filled or drawn is in. Drawing through the device
    // context is not seen by the device: whoever draws reports it with noteDrawn, or the
    // whole page counts as drawn on when the context goes back.
    const QRect& litArea() const { return lit_; }
    void noteDrawn(const QRect& area); // in the mode's coordinates

private:
    void takeFreePage();

public:
    bool lost() const { return lost_; }
    // What a mode switch does to a page: its contents are gone until it is restored.
    void markLost();

private:
    friend class DirectDraw;
    Device& device_;
    SurfaceDesc desc_;
    QImage page_;
    std::shared_ptr<Surface> attached_; // the back buffer of a flip chain
    std::shared_ptr<Palette> palette_;
    std::shared_ptr<Clipper> clipper_;
    std::unique_ptr<QPainter> dc_;
    QRect lit_;
    // A third page, for drawing while the one before is still on the screen.
    QImage spare_;
    QRect spareLit_;
    bool drawnReported_ = false;
    bool lost_ = false;
};

class Palette {
public:
    explicit Palette(uint32_t caps) : caps_(caps) {}
    HRESULT SetEntries(int start, const PaletteEntry* entries, int count);
    const std::array<PaletteEntry, 256>& entries() const { return entries_; }
    uint32_t caps() const { return caps_; }

private:
    uint32_t caps_;
    std::array<PaletteEntry, 256> entries_{};
};

class Clipper {
public:
    HRESULT SetHWnd(const void* window) {
        window_ = window;
        return DD_OK;
    }
    const void* window() const { return window_; }

private:
    const void* window_ = nullptr;
};

class DirectDraw {
public:
    explicit DirectDraw(Device& device) : device_(device) {}
    ~DirectDraw();
    DirectDraw(const DirectDraw&) = delete;
    DirectDraw& operator=(const DirectDraw&) = delete;

    // Whether the object answers a newer interface (4 or 7).
    HRESULT QueryInterface(int version);
    HRESULT GetCaps(Caps* driver, Caps* emulation);
    HRESULT SetCooperativeLevel(const void* window, uint32_t flags);
    HRESULT EnumDisplayModes(uint32_t flags, std::vector<SurfaceDesc>& out);
    HRESULT SetDisplayMode(int width, int height, int bits);
    HRESULT CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>& out);
    HRESULT CreatePalette(uint32_t caps, const PaletteEntry* entries,
                          std::shared_ptr<Palette>& out);
    HRESULT CreateClipper(uint32_t flags, std::shared_ptr<Clipper>& out);
    HRESULT WaitForVerticalBlank(uint32_t flags);
    HRESULT FlipToGDISurface();
    // Releasing the object returns the display to the mode it had before.
    void Release();

private:
    Device& device_;
    bool released_ = false;
    bool modeChanged_ = false;
};

// The device: the modes it offers, the mode it is in, and the pages it holds.
class Device {
public:
    Device();
    virtual ~Device();

    std::vector<DisplayMode> modes; // settable and enumerated, in this order
    DisplayMode desktop{1024, 768, 32};
    // Device pixels to a unit of the display mode for the surfaces made from now on: the
    // pages of a full-screen mode are as fine as the screen area they fill.
    double pageScale = 1.0;

    DisplayMode currentMode() const { return current_; }
    // The last primary surface that was made (the page on the screen).
    std::shared_ptr<Surface> primary() const { return primary_.lock(); }

    // DirectDrawCreate
    HRESULT create(std::shared_ptr<DirectDraw>& out);
    // Whether the library the device stands for loads; ours is built in.
    virtual bool libraryLoads() const { return true; }
    // Each call the device's objects receive comes here first, by name with the flags (or
    // the value) it was given; anything but DD_OK is returned instead of carrying the call
    // out. Ours carries out every call.
    virtual HRESULT received(const QString& call, uint32_t flags = 0);

    // --- used by the device objects ---
    void setCurrentMode(const DisplayMode& mode) { current_ = mode; }
    void addSurface(Surface* surface) { surfaces_.insert(surface); }
    void removeSurface(Surface* surface) { surfaces_.erase(surface); }
    void setPrimary(const std::shared_ptr<Surface>& surface) { primary_ = surface; }

protected:
    const std::set<Surface*>& surfaces() const { return surfaces_; }

private:
    DisplayMode current_;
    std::set<Surface*> surfaces_;
    std::weak_ptr<Surface> primary_;
};

// Every usual mode: 640×480 up to 1920×1080 at 8, 16, 24 and 32 bits.
std::vector<DisplayMode> usualModes();

} // namespace quillon::ddraw
