#include "platform/core/console.h"

#include <unistd.h>

namespace quillon {

bool isTerminal(FILE* out) {
    return isatty(fileno(out)) != 0;
}

// A terminal's program always has its streams.
void attachParentConsole() {}

} // namespace quillon
