#include "platform/core/interrupt_flag.h"

#include <csignal>

namespace quillon {

namespace {
std::atomic_bool interrupted{false};
struct sigaction previousInt, previousTerm;

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}
} // namespace

static_assert(std::atomic_bool::is_always_lock_free, "set from a signal handler");

InterruptFlag::InterruptFlag() {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

InterruptFlag::~InterruptFlag() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

const std::atomic_bool& InterruptFlag::flag() const {
    return interrupted;
}

} // namespace quillon
