#pragma once
// The screen saver's command line, in the conventions of XScreenSaver and the desktops
// that follow it (one or two leading dashes):
//   quillon --root | --window-id ID | --window [--file PATH] [--linger SECONDS]
//           [--seed N] [--sound] [--config PATH] [--color RRGGBB] [--background RRGGBB|IMAGE]
#include "platform/core/error.h"
#include "platform/display/page_style.h"

#include <QString>
#include <QStringList>
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
class SaverUsageError : public Exception {
public:
    using Exception::Exception;
};

constexpr int MaxLingerSeconds = 3600;

// Whether the arguments (without the program name) ask for the screen saver: --root,
// --window-id or --window among them, unless "/S" or "/P" comes first.
bool isSaverCommand(const QStringList& arguments);

// Parses the arguments after the program name; xscreensaverWindow is the value of
// XSCREENSAVER_WINDOW, the window --root draws into. Raises SaverUsageError. When several
// targets are named, --window-id wins over --root and --root over --window; a repeated
// option counts with its last value.
SaverOptions parseSaverArguments(const QStringList& arguments, const QString& xscreensaverWindow);

// A window id in decimal or in hexadecimal after "0x" (either case), from 1 to
// 0xFFFFFFFF, spaces around it allowed; nothing for anything else.
std::optional<uint32_t> parseWindowId(const QString& text);

// One-line usage text.
QString saverUsage();

} // namespace quillon
