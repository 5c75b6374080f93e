#pragma once
// The program's first command-line argument, which selects screen-saver mode.
#include <QString>

namespace quillon {

// The first argument in upper case; empty when there is none.
QString FirstArgumentUpper();
void setFirstArgumentForTesting(const QString& argument); // empty: use the real command line

} // namespace quillon
