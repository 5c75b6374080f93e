#pragma once
// Whole-file replacement that never leaves a half-written file: the bytes go to a
// temporary file in the same folder, which is then renamed over the old one.
#include <QByteArray>
#include <QString>

namespace quillon {

enum class SaveResult {
    Saved,
    CannotCreate, // the temporary file could not be created, or the rename failed
    WriteError,   // writing stopped short
};

SaveResult saveFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace quillon
