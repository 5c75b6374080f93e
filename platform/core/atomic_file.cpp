#include "platform/core/atomic_file.h"

#include <QSaveFile>

namespace quillon {

SaveResult saveFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return SaveResult::CannotCreate;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return SaveResult::WriteError;
    }
    return file.commit() ? SaveResult::Saved : SaveResult::CannotCreate;
}

} // namespace quillon
