#pragma once
// Ctrl+C at the terminal, and the system asking the program to end (SIGTERM), asking a
// long piece of work to stop cleanly: while an InterruptFlag lives they only set its
// flag, which the work checks. One implementation per system (interrupt_flag_posix.cpp).
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
