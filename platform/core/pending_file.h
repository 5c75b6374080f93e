#pragma once
// A file that must appear whole or not at all: it is written under a temporary name in
// the target's folder and renamed over the target only when complete. Dropped
// unfinished, the temporary file is removed.
//
// The temporary file stays locked while its writer lives, so one left by a writer that
// died without cleaning up (killed, a power cut) is told from one still being written
// and is removed the next time a file is written into that folder or its leftovers are
// swept.
#include "platform/core/file_lock.h"

#include <QByteArray>
#include <QString>

namespace quillon {

class PendingFile {
public:
    // Sweeps the abandoned temporary files of the target's folder, then creates the empty
    // temporary file beside target. Raises "%s に書き込めません" with the target when the
    // target is a read-only file, or the folder does not exist or is not writable.
    explicit PendingFile(const QString& target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Where an outside program may write the bytes, by name.
    const QString& path() const { return temporary_; }
    const QString& target() const { return target_; }

    // Appends bytes; false when the write stopped short.
    bool write(const QByteArray& bytes);
    // Gives the temporary file the permissions of an existing file.
    void copyPermissionsOf(const QString& file);
    // Flushes the bytes to the disk and renames the temporary file over the target;
    // false when that fails (the temporary file is then removed).
    bool tryCommit();
    // The same, raising "%s に書き込めません" on failure.
    void commit();
    // Removes the temporary file now.
    void discard();

private:
    FileLock::Created createLocked();
    bool failCommit();

    QString target_;
    QString temporary_;
    FileLock file_;
};

// Removes the temporary files of target left by writers that are gone; those of a live
// writer stay. Returns how many were removed.
int removeAbandonedParts(const QString& target);
// The same for every temporary file in folder, whatever its target.
int removeAbandonedPartsIn(const QString& folder);
// Whether target has a temporary file, a live writer's or an abandoned one.
bool hasParts(const QString& target);

// Whether path is an existing file that its mode bits, or the system for this user, keep
// from being written. The bits count also for the superuser, whom the system lets write.
bool isReadOnlyFile(const QString& path);

} // namespace quillon
