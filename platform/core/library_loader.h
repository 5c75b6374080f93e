#pragma once
// Entry points fetched from libraries loaded at run time, through one program-wide
// cache of loaded libraries.
#include <QString>
#include <memory>

namespace quillon {

using PlatformFunction = void (*)();

// Loads the library (once; the cache is keyed by its lower-cased name) and returns
// the entry point. Raises "%s を読み込めません" with the library name as passed when
// the library cannot be loaded or lacks the entry point.
PlatformFunction LoadPlatformFunction(const QString& library, const char* entryPoint);

// Frees every cached library; called at program end.
void freePlatformLibraries();

// One library, loaded by the system's own loader (library_loader_posix.cpp).
class RuntimeLibrary {
public:
    // Null when the system cannot load it.
    static std::unique_ptr<RuntimeLibrary> load(const QString& name);
    ~RuntimeLibrary(); // unloads
    RuntimeLibrary(const RuntimeLibrary&) = delete;
    RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

    // Null when the library has no such entry point.
    PlatformFunction resolve(const char* entryPoint) const;

private:
    explicit RuntimeLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

} // namespace quillon
