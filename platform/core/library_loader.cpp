#include "platform/core/library_loader.h"

#include "platform/core/error.h"

#include <QCoreApplication>
#include <map>
#include <mutex>

namespace quillon {

namespace {
std::map<QString, std::unique_ptr<RuntimeLibrary>>& cache() {
    static std::map<QString, std::unique_ptr<RuntimeLibrary>> libraries;
    return libraries;
}

// An export's worker thread may load the sound library while the window loads another.
std::mutex& cacheLock() {
    static std::mutex lock;
    return lock;
}
} // namespace

PlatformFunction LoadPlatformFunction(const QString& library, const char* entryPoint) {
    const std::lock_guard guard(cacheLock());
    const QString key = library.toLower();
    auto& libraries = cache();
    auto it = libraries.find(key);
    if (it == libraries.end()) {
        std::unique_ptr<RuntimeLibrary> lib = RuntimeLibrary::load(library);
        if (!lib)
            throw Exception(formatMessage(
                QCoreApplication::translate("Errors", "%s を読み込めません"), {library}));
        it = libraries.emplace(key, std::move(lib)).first;
    }
    const PlatformFunction fn = it->second->resolve(entryPoint);
    if (!fn)
        throw Exception(
            formatMessage(QCoreApplication::translate("Errors", "%s を読み込めません"), {library}));
    return fn;
}

void freePlatformLibraries() {
    const std::lock_guard guard(cacheLock());
    cache().clear(); // each unloads its library
}

} // namespace quillon
