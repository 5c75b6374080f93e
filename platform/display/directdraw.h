#pragma once
// The DirectDraw wrappers over our software display device: the DirectDraw object, its
// palettes and clippers, and the errors of the drawing layer.
#include "platform/core/directx.h"
#include "platform/display/ddraw_device.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

// --- errors ---

class EDirectDrawError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};
class EDirectDrawSurfaceError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};
class EDirectDrawClipperError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};
class EDXDrawError : public Exception {
public:
    using Exception::Exception;
};

using TColorTable = std::array<ddraw::PaletteEntry, 256>;
// The system palette's 256 entries: the twenty static colours at both ends.
const TColorTable& systemPalette();

class TDirectDrawSurface;
class TDirectDrawPalette;
class TDirectDrawClipper;

// --- the DirectDraw object ---

class TDirectDraw : public TDirectX {
public:
    // Creates the object on a display device. Raises "%s を読み込めません",
    // "%s を初期化できません" or the version errors.
    TDirectDraw(ddraw::Device& device, bool directX7Mode);
    ~TDirectDraw() override;

    // The interface; raises when it has not been created.
    ddraw::DirectDraw& drawInterface();
    const ddraw::Caps& driverCaps() const { return driverCaps_; }
    const ddraw::Caps& helCaps() const { return helCaps_; }
    bool SetCooperativeLevel(const void* window, uint32_t flags);
    bool SetDisplayMode(int width, int height, int bits);
    std::vector<ddraw::SurfaceDesc> EnumDisplayModes();
    bool WaitForVerticalBlank(uint32_t flags);
    bool FlipToGDISurface();

private:
    friend class TDirectDrawSurface;
    friend class TDirectDrawPalette;
    friend class TDirectDrawClipper;
    std::shared_ptr<ddraw::DirectDraw> draw_;
    ddraw::Caps driverCaps_;
    ddraw::Caps helCaps_;
    // What was made through this object; freed with it, surfaces first.
    std::vector<TDirectDrawSurface*> surfaces_;
    std::vector<TDirectDrawPalette*> palettes_;
    std::vector<TDirectDrawClipper*> clippers_;
};

class TDirectDrawPalette : public TDirectX {
public:
    explicit TDirectDrawPalette(TDirectDraw& draw);
    ~TDirectDrawPalette() override;
    bool CreatePalette(uint32_t caps, const TColorTable& entries);
    bool SetEntries(const TColorTable& entries);
    std::shared_ptr<ddraw::Palette> paletteInterface() const { return palette_; }

private:
    TDirectDraw& draw_;
    std::shared_ptr<ddraw::Palette> palette_;
};

class TDirectDrawClipper : public TDirectX {
public:
    // Raises "%s を作成できません" ("クリッパー") when the clipper cannot be made.
    explicit TDirectDrawClipper(TDirectDraw& draw);
    ~TDirectDrawClipper() override;
    bool setHandle(const void* window);
    std::shared_ptr<ddraw::Clipper> clipperInterface() const { return clipper_; }

private:
    TDirectDraw& draw_;
    std::shared_ptr<ddraw::Clipper> clipper_;
};
} // namespace quillon
