#pragma once
// Ctrl+C (SIGINT) and SIGTERM asking a long piece of work to stop cleanly: while an
// InterruptFlag lives they only set its flag, which the work checks.
#include <atomic>

namespace quillon {

class InterruptFlag {
public:
    InterruptFlag();
    ~InterruptFlag(); // the previous handling comes back
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;

    const std::atomic_bool& flag() const;
    bool raised() const { return flag().load(); }
};

} // namespace quillon
