#include "platform/core/console.h"

#include <unistd.h>

namespace quillon {

bool isTerminal(FILE* out) {
    return isatty(fileno(out)) != 0;
}

} // namespace quillon
