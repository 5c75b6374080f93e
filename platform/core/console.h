#pragma once
// The terminal the program was started from, if any. One implementation per system
// (console_posix.cpp).
#include <cstdio>

namespace quillon {

// Whether out writes to a terminal, where a line can be drawn again in place.
bool isTerminal(FILE* out);

// A windowed program on Windows starts without a console: started from one, it writes its
// messages and its usage there, unless they are already sent to a file or a pipe. Call
// first thing; elsewhere it does nothing.
void attachParentConsole();

} // namespace quillon
