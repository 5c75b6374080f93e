#pragma once
// The program as a screen saver: no main window, cards one after another in a window of
// its own or in another program's, until SIGTERM or SIGINT.
#include "app/saver/saver_options.h"
#include "platform/ui/translations.h"

namespace quillon {

// Runs the screen saver; the exit status: 0 when ended, 2 for a subtitle list it cannot
// use, 1 when there is no window to draw into. Its messages are in the language given.
int saverMain(int argc, char** argv, const SaverOptions& options, UiLanguage language);

} // namespace quillon
