#pragma once
// A file written by someone else (an outside program) that must appear whole or not at
// all: it is written under a temporary name in the target's folder and renamed over
// the target only when complete. Dropped unfinished, the temporary file is removed.
#include <QString>

namespace quillon {

class PendingFile {
public:
    // Creates the empty temporary file beside target. Raises "%s に書き込めません" with the
    // target when the folder does not exist or is not writable.
    explicit PendingFile(const QString& target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const QString& path() const { return temporary_; }
    const QString& target() const { return target_; }

    // Renames the temporary file over the target. Raises "%s に書き込めません" when the
    // rename fails (the temporary file is then removed).
    void commit();
    // Removes the temporary file now.
    void discard();

private:
    QString target_;
    QString temporary_;
    bool pending_ = false;
};

} // namespace quillon
