#pragma once
// The software display device as tests need it: it keeps a record of the calls it
// received, can be made to fail the calls a real device fails, and loses its surfaces on
// request.
#include "platform/display/ddraw_device.h"

#include <QString>
#include <set>
#include <vector>

namespace quillon::testing {

// One call the device received, with the flags (or the value) it was given.
struct DeviceCall {
    QString name;
    uint32_t flags = 0;
};

class TestDisplayDevice : public ddraw::Device {
public:
    bool libraryAvailable = true;                   // false: the library cannot be loaded
    bool supportsDirectDraw4 = true;                // answers the version 4 interface
    std::set<ddraw::DisplayMode> modesFailingToSet; // enumerated, but setting them fails
    bool primaryFails = false;
    int offscreenFailures = 0; // the next n off-screen surfaces fail
    bool restoreFails = false;

    // Marks every live surface lost and scribbles on its page, as a mode switch would.
    void loseSurfaces();

    const std::vector<DeviceCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    int countCalls(const QString& name) const;

    bool libraryLoads() const override { return libraryAvailable; }
    ddraw::HRESULT received(const QString& call, uint32_t flags) override;

private:
    std::vector<DeviceCall> calls_;
};

} // namespace quillon::testing
