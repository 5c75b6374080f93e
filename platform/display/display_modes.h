#pragma once
// The display mode a component asks for, the enumerated modes, and the fall-back search.
#include "platform/display/ddraw_device.h"

#include <vector>

namespace quillon {

class TCustomDXDraw;

class TDXDrawDisplayMode {
public:
    explicit TDXDrawDisplayMode(const ddraw::SurfaceDesc& desc) : surfaceDesc(desc) {}
    int Width() const { return static_cast<int>(surfaceDesc.dwWidth); }
    int Height() const { return static_cast<int>(surfaceDesc.dwHeight); }
    int BitCount() const { return static_cast<int>(surfaceDesc.dwRGBBitCount); }
    ddraw::SurfaceDesc surfaceDesc;
};

class TDXDrawDisplay {
public:
    explicit TDXDrawDisplay(TCustomDXDraw& owner) : owner_(owner) {}

    int Width() const { return width_; }
    void setWidth(int value) { width_ = value < 0 ? 0 : value; }
    int Height() const { return height_; }
    void setHeight(int value) { height_ = value < 0 ? 0 : value; }
    int BitCount() const { return bitCount_; }
    // Raises for anything but 8, 16, 24 or 32.
    void setBitCount(int value);
    bool FixedBitCount = true;
    bool FixedRatio = true;
    bool FixedSize = false;

    // The enumerated modes, sorted; enumerated on first use.
    int count();
    const TDXDrawDisplayMode& Modes(int index);
    bool modesEnumerated() const { return enumerated_; }
    void dropModes();

    bool ChangeMode(int width, int height, int bits);
    bool TrySetMode(int width, int height, int bits);

private:
    void loadModes();
    bool searchMode(int width, int height, int bits, bool ratioTest);
    bool hasMode(int width, int height, int bits);

    TCustomDXDraw& owner_;
    int width_ = 640;
    int height_ = 480;
    int bitCount_ = 8;
    bool enumerated_ = false;
    std::vector<TDXDrawDisplayMode> modes_;
};

} // namespace quillon
