#pragma once
// The terminal the program was started from, if any. One implementation per system
// (console_posix.cpp).
#include <cstdio>

namespace quillon {

// Whether out writes to a terminal, where a line can be drawn again in place.
bool isTerminal(FILE* out);

} // namespace quillon
