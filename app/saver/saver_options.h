#pragma once
// What the screen saver shows and where, as its command line gives it (read with the
// rest in app/command_line.*, in the conventions of XScreenSaver: one or two dashes).
#include "platform/core/run_mode.h"
#include "platform/display/page_style.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace quillon {

struct SaverOptions {
    enum class Target {
        OwnWindow,     // a window of our own, for trying it out
        OwnFullScreen, // --root without a window to draw into
        Foreign,       // the window windowId, of another program
    };
    Target target = Target::OwnWindow;
    uint32_t windowId = 0;
    QString file;                   // a .qln list to take the subtitles from; empty: none
    std::optional<uint32_t> holdMs; // --linger; unset: the card's own hold
    std::optional<uint32_t> seed;   // unset: a new order each time
    bool sound = false;
    PageStyle style; // --color, --background: the cards' look in the saver's window
};

// Bad usage: the message says what is wrong; the program exits with status 2.
using SaverUsageError = UsageError;

constexpr int MaxLingerSeconds = 3600;

// A window id in decimal or in hexadecimal after "0x" (either case), from 1 to
// 0xFFFFFFFF, spaces around it allowed; nothing for anything else.
std::optional<uint32_t> parseWindowId(const QString& text);

} // namespace quillon
