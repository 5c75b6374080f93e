#include "platform/core/library_loader.h"

#include <QFile>
#include <dlfcn.h>

namespace quillon {

std::unique_ptr<RuntimeLibrary> RuntimeLibrary::load(const QString& name) {
    // Its symbols stay its own: two libraries may name an entry point alike.
    void* handle = dlopen(QFile::encodeName(name).constData(), RTLD_LAZY | RTLD_LOCAL);
    return handle ? std::unique_ptr<RuntimeLibrary>(new RuntimeLibrary(handle)) : nullptr;
}

RuntimeLibrary::~RuntimeLibrary() {
    dlclose(handle_);
}

PlatformFunction RuntimeLibrary::resolve(const char* entryPoint) const {
    // A data pointer turned into a function's: what dlsym promises on every POSIX system.
    return reinterpret_cast<PlatformFunction>(dlsym(handle_, entryPoint));
}

} // namespace quillon
