#include "platform/core/library_loader.h"

#include <QDir>
#include <windows.h>

namespace quillon {

std::unique_ptr<RuntimeLibrary> RuntimeLibrary::load(const QString& name) {
    const QString path = QDir::toNativeSeparators(name);
    HMODULE handle = LoadLibraryW(reinterpret_cast<const wchar_t*>(path.utf16()));
    return handle ? std::unique_ptr<RuntimeLibrary>(new RuntimeLibrary(handle)) : nullptr;
}

RuntimeLibrary::~RuntimeLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

PlatformFunction RuntimeLibrary::resolve(const char* entryPoint) const {
    // Windows hands every entry point out as a FARPROC, a function pointer of its own.
    return reinterpret_cast<PlatformFunction>(
        GetProcAddress(static_cast<HMODULE>(handle_), entryPoint));
}

} // namespace quillon
