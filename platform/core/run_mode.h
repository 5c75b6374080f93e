#pragma once
// How this run of the program was started. The command line is read once, before any
// window or display exists, into one of these; the rest of the program asks it (through
// environment().runMode()) instead of reading the arguments again.
#include "platform/core/error.h"

#include <QString>

namespace quillon {

enum class RunKind {
    Normal,      // the main window
    ScreenSaver, // "/S" first: random cards by themselves until a hold runs out
    Preview,     // "/P" first without a window: the main window, left where it is
    Saver,       // --root, --window-id, --window or "/P window": cards in a window, no
                 // main window
    Export,      // --export: cards written to files, no window
    Help,        // --help: the usage on standard output
    Version,     // --version
};

struct RunMode {
    RunKind kind = RunKind::Normal;
    QString configFile; // --config; empty: the usual place

    // Only a card the user started holds the desktop's screen saver off: a screen
    // saver's screen is its own to blank, and an export shows no card.
    bool keepsScreenAwake() const { return kind == RunKind::Normal; }
};

// A command line the program cannot use: the message says what is wrong, and the
// program ends with status 2 after the usage.
class UsageError : public Exception {
public:
    using Exception::Exception;
};

} // namespace quillon
