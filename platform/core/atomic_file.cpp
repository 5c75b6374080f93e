#include "platform/core/atomic_file.h"

#include "platform/core/error.h"
#include "platform/core/pending_file.h"

#include <QFile>
#include <QFileInfo>
#include <memory>

namespace quillon {

namespace {

// The only way to save in a folder where no new file may be made: an existing file that
// may be written is written in place.
SaveResult saveInPlace(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return SaveResult::CannotCreate;
    if (file.write(bytes) != bytes.size() || !file.flush())
        return SaveResult::WriteError;
    return SaveResult::Saved;
}

} // namespace

SaveResult saveFileAtomically(const QString& path, const QByteArray& bytes) {
    // A link is followed, so that the file it names is replaced and the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    // A rename would replace a file the user protected, and the superuser may write it
    // anyway: its mode is asked first.
    if (isReadOnlyFile(target))
        return SaveResult::CannotCreate;
    std::unique_ptr<PendingFile> pending;
    try {
        pending = std::make_unique<PendingFile>(target);
    } catch (const Exception&) {
        return saveInPlace(target, bytes);
    }
    pending->copyPermissionsOf(target);
    if (!pending->write(bytes))
        return SaveResult::WriteError;
    return pending->tryCommit() ? SaveResult::Saved : SaveResult::CannotCreate;
}

} // namespace quillon
