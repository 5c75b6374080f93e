#pragma once
// Entry points fetched from libraries loaded at run time, through one program-wide
// cache of loaded libraries.
#include <QString>

namespace quillon {

using PlatformFunction = void (*)();

// Loads the library (once; the cache is keyed by its lower-cased name) and returns
// the entry point. Raises "%s を読み込めません" with the library name as passed when
// the library cannot be loaded or lacks the entry point.
PlatformFunction LoadPlatformFunction(const QString& library, const char* entryPoint);

// Frees every cached library; called at program end.
void freePlatformLibraries();

} // namespace quillon
