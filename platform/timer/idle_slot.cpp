#include "platform/timer/idle_slot.h"

#include "platform/timer/dxtimer.h"
#include "platform/ui/application.h"

#include <QTimer>
#include <algorithm>
#include <exception>

namespace quillon {

IdleSlot::IdleSlot() {
    wake_ = new QTimer(this);
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    connect(wake_, &QTimer::timeout, this, [this] { runIdle(); });
}

IdleSlot& IdleSlot::instance() {
    static IdleSlot* slot = new IdleSlot; // lives as long as the program
    return *slot;
}

void IdleSlot::install(TCustomDXTimer* timer) {
    installed_ = timer;
    rearm();
}

void IdleSlot::clear() {
    installed_ = nullptr;
    wake_->stop();
}

void IdleSlot::runIdle() {
    if (installed_) {
        try {
            installed_->idleStep();
        } catch (const std::exception& error) {
            // An error from the tick handler is reported; the timer stays as the handler left it.
            reportError(error);
        }
    }
    rearm();
}

void IdleSlot::rearm() {
    if (!installed_) {
        wake_->stop();
        return;
    }
    // Sleep until the tick is due; the idle step itself never ticks early.
    wake_->start(static_cast<int>(std::min<uint32_t>(installed_->msUntilDue(), 0x7FFFFFFF)));
}

} // namespace quillon
