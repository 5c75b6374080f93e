#include "support/test_display_device.h"

#include <algorithm>

namespace quillon::testing {

using namespace ddraw;

void TestDisplayDevice::loseSurfaces() {
    for (Surface* s : surfaces())
        s->markLost();
}

int TestDisplayDevice::countCalls(const QString& name) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [&](const DeviceCall& c) { return c.name == name; }));
}

HRESULT TestDisplayDevice::received(const QString& call, uint32_t flags) {
    calls_.push_back({call, flags});
    if (call == QLatin1String("QueryInterface") && flags >= 4 && flags < 7 && !supportsDirectDraw4)
        return DDERR_NOINTERFACE;
    if (call == QLatin1String("CreateSurface")) {
        if ((flags & DDSCAPS_PRIMARYSURFACE) && primaryFails)
            return DDERR_GENERIC;
        if ((flags & DDSCAPS_OFFSCREENPLAIN) && offscreenFailures > 0) {
            --offscreenFailures;
            return DDERR_OUTOFMEMORY;
        }
    }
    if (call == QLatin1String("Restore") && restoreFails)
        return DDERR_WRONGMODE;
    for (const DisplayMode& m : modesFailingToSet)
        if (call ==
            QStringLiteral("SetDisplayMode %1x%2x%3").arg(m.width).arg(m.height).arg(m.bits))
            return DDERR_INVALIDMODE;
    return DD_OK;
}

} // namespace quillon::testing
