#pragma once
// Whole-file replacement that never leaves a half-written file: the bytes go to a
// temporary file in the same folder, which is then renamed over the old one. In a
// folder where no new file may be created, an existing file that may be written is
// written in place instead, as the only way the save can succeed there. A file the user
// made read-only is never replaced.
#include <QByteArray>
#include <QString>

namespace quillon {

enum class SaveResult {
    Saved,
    CannotCreate, // the file is read-only, neither a temporary file nor the file itself
                  // could be written, or the rename failed
    WriteError,   // writing stopped short
};

SaveResult saveFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace quillon
