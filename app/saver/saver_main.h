#pragma once
// The program as a screen saver: no main window, cards one after another in a window of
// its own or in another program's, until SIGTERM or SIGINT.
#include "platform/ui/translations.h"

namespace quillon {

// Whether the command line asks for the screen saver (see saver_options.h).
bool isSaverCommandLine(int argc, char** argv);

// Runs the screen saver; the exit status: 0 when ended, 2 for a command line it cannot
// use, 1 when there is no window to draw into. Its messages are in the language given.
int saverMain(int argc, char** argv, UiLanguage language);

} // namespace quillon
