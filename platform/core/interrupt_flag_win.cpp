#include "platform/core/interrupt_flag.h"

#include <windows.h>

namespace quillon {

namespace {
std::atomic_bool interrupted{false};

// Runs on a thread of its own that the console starts. Ctrl+C, Ctrl+Break and closing
// the console window ask the work to stop; returning TRUE keeps the process alive
// until it has.
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        interrupted.store(true);
        return TRUE;
    default:
        return FALSE;
    }
}
} // namespace

InterruptFlag::InterruptFlag() {
    interrupted.store(false);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

InterruptFlag::~InterruptFlag() {
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

const std::atomic_bool& InterruptFlag::flag() const {
    return interrupted;
}

} // namespace quillon
