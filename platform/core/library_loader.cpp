#include "platform/core/library_loader.h"

#include "platform/core/error.h"

#include <QLibrary>
#include <map>
#include <memory>

namespace quillon {

namespace {
std::map<QString, std::unique_ptr<QLibrary>>& cache() {
    static std::map<QString, std::unique_ptr<QLibrary>> libraries;
    return libraries;
}
} // namespace

PlatformFunction LoadPlatformFunction(const QString& library, const char* entryPoint) {
    const QString key = library.toLower();
    auto& libraries = cache();
    auto it = libraries.find(key);
    if (it == libraries.end()) {
        auto lib = std::make_unique<QLibrary>(library);
        if (!lib->load())
            throw Exception(formatMessage(QStringLiteral("%s を読み込めません"), {library}));
        it = libraries.emplace(key, std::move(lib)).first;
    }
    QFunctionPointer fn = it->second->resolve(entryPoint);
    if (!fn)
        throw Exception(formatMessage(QStringLiteral("%s を読み込めません"), {library}));
    return reinterpret_cast<PlatformFunction>(fn);
}

void FreePlatformLibraries() {
    for (auto& [name, lib] : cache())
        lib->unload();
    cache().clear();
}

} // namespace quillon
