#pragma once
// The application's one idle-handler slot. A running frame timer occupies it; instead of
// polling, the slot sleeps until the installed timer's next tick is due.
#include <QObject>

class QTimer;

namespace quillon {

class TCustomDXTimer;

class IdleSlot : public QObject {
public:
    static IdleSlot& instance();
    void install(TCustomDXTimer* timer); // replaces whatever was there
    void clear();
    TCustomDXTimer* installed() const { return installed_; }
    // One idle pass: the installed timer's idle step. Tests call this directly.
    void runIdle();
    // Recomputes when the installed timer is next due and arms the wake-up.
    void rearm();

private:
    IdleSlot();
    TCustomDXTimer* installed_ = nullptr;
    QTimer* wake_ = nullptr;
};

} // namespace quillon
