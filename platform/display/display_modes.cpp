#include "platform/display/display_modes.h"

#include "platform/display/directdraw.h"
#include "platform/display/dxdraw.h"

#include <QCoreApplication>
#include <algorithm>
#include <tuple>

namespace quillon {

void TDXDrawDisplay::setBitCount(int value) {
    if (value != 8 && value != 16 && value != 24 && value != 32)
        throw EDirectDrawError(QCoreApplication::translate(
            "Errors", "8, 16, 24, 32 のいずれかの値でなければなりません"));
    bitCount_ = value;
}

void TDXDrawDisplay::loadModes() {
    if (enumerated_)
        return;
    std::vector<ddraw::SurfaceDesc> descs;
    if (TDirectDraw* draw = owner_.directDraw()) {
        descs = draw->EnumDisplayModes();
    } else {
        TDirectDraw temporary(owner_.device(), false);
        descs = temporary.EnumDisplayModes();
    }
    modes_.clear();
    for (const ddraw::SurfaceDesc& d : descs)
        modes_.emplace_back(d);
    std::stable_sort(modes_.begin(), modes_.end(), [](const auto& a, const auto& b) {
        return std::tuple(a.Width(), a.Height(), a.BitCount()) <
               std::tuple(b.Width(), b.Height(), b.BitCount());
    });
    enumerated_ = true;
}

int TDXDrawDisplay::count() {
    loadModes();
    return static_cast<int>(modes_.size());
}

const TDXDrawDisplayMode& TDXDrawDisplay::Modes(int index) {
    loadModes();
    return modes_.at(static_cast<size_t>(index));
}

void TDXDrawDisplay::dropModes() {
    modes_.clear();
    enumerated_ = false;
}

bool TDXDrawDisplay::TrySetMode(int width, int height, int bits) {
    TDirectDraw* draw = owner_.directDraw();
    if (!draw || !draw->SetDisplayMode(width, height, bits))
        return false;
    width_ = width;
    height_ = height;
    bitCount_ = bits;
    return true;
}

bool TDXDrawDisplay::hasMode(int width, int height, int bits) {
    return std::any_of(modes_.begin(), modes_.end(), [&](const TDXDrawDisplayMode& m) {
        return m.Width() == width && m.Height() == height && m.BitCount() == bits;
    });
}

bool TDXDrawDisplay::searchMode(int width, int height, int bits, bool ratioTest) {
    loadModes();
    int bestWidth = INT32_MAX;
    int bestHeight = INT32_MAX;
    int bestBits = bits;
    bool found = false;
    const long double ratio = static_cast<long double>(width) / height;
    for (const TDXDrawDisplayMode& m : modes_) {
        if (m.Width() > bestWidth || m.Height() > bestHeight)
            continue;
        if (m.Height() <= 0)
            continue;
        if (ratioTest && static_cast<long double>(m.Width()) / m.Height() != ratio)
            continue;
        if (FixedSize) {
            if (m.Width() != width || m.Height() != height)
                continue;
        } else if (m.Width() < width || m.Height() < height) {
            continue;
        }
        if (FixedBitCount) {
            if (m.BitCount() != bits)
                continue;
        } else if (!((m.BitCount() > 8 && bits > 8) || m.BitCount() >= bits)) {
            continue;
        }
        bestWidth = m.Width();
        bestHeight = m.Height();
        bestBits = m.BitCount();
        found = true;
    }
    if (!found)
        return false;
    if (bestBits != bits && hasMode(bestWidth, bestHeight, bits))
        bestBits = bits;
    return TrySetMode(bestWidth, bestHeight, bestBits);
}

bool TDXDrawDisplay::ChangeMode(int width, int height, int bits) {
    if (width <= 0 || height <= 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return false;
    if (TrySetMode(width, height, bits))
        return true;
    if (FixedRatio && searchMode(width, height, bits, true))
        return true;
    return searchMode(width, height, bits, false);
}
} // namespace quillon
