#include "platform/sound/device_watch.h"

namespace quillon {

DeviceWatch::DeviceWatch(std::function<bool()> connected, std::function<bool()> reopen,
                         int intervalMs)
    : connected_(std::move(connected)), reopen_(std::move(reopen)) {
    timer_.setTimerType(Qt::VeryCoarseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { check(); });
    timer_.start(intervalMs);
}

bool DeviceWatch::check() {
    if (connected_())
        return true;
    if (!reopen_())
        return false;
    ++reopenings_;
    return true;
}

} // namespace quillon
