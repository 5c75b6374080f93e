// The message of the error an operation raised, for checking exact texts in one line.
#pragma once

#include "platform/core/error.h"

#include <QString>

namespace quillon::testing {

// The message of the E that f raised, or "" when it raised nothing. An error of
// another class passes through and fails the test.
template <typename E = Exception, typename F> QString raised(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.message();
    }
    return {};
}

} // namespace quillon::testing
