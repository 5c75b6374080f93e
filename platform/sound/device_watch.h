#pragma once
// Watches a sound device that may go away (a USB headset pulled, the sound server
// restarted): every interval it asks whether the device is still there, and once it is
// not, tries on each tick to open it anew until that succeeds. A tick is one cheap
// query; nothing runs between ticks.
#include <QObject>
#include <QTimer>
#include <functional>

namespace quillon {

class DeviceWatch : public QObject {
public:
    static constexpr int IntervalMs = 1000;

    DeviceWatch(std::function<bool()> connected, std::function<bool()> reopen,
                int intervalMs = IntervalMs);

    // One tick: true while the device is there (again).
    bool check();
    int reopenings() const { return reopenings_; }
    bool active() const { return timer_.isActive(); }

private:
    std::function<bool()> connected_;
    std::function<bool()> reopen_;
    QTimer timer_;
    int reopenings_ = 0;
};

} // namespace quillon
