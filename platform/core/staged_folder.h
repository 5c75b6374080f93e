#pragma once
// A folder that must appear whole or not at all, as PendingFile is for a file: its files
// are written into a hidden stage beside it (or inside it, when it is there already and
// holds other files) and moved into place at commit(). Dropped before, the stage goes.
//
// The stage holds a locked mark while its writer lives, so a stage left by a writer that
// died (killed, a power cut) is told from a live one and removed by the next writer.
#include <QString>
#include <memory>

class QTemporaryDir;

namespace quillon {

class PendingFile;

class StagedFolder {
public:
    // Sweeps abandoned stages and makes a new one. Raises "%s に書き込めません" with the
    // folder when it cannot be made.
    explicit StagedFolder(const QString& folder);
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    // Where a file of that name is written before commit().
    QString filePath(const QString& name) const;
    // Moves the files into place. Raises "%s に書き込めません" on failure.
    void commit();

private:
    QString folder_;
    bool into_ = false;
    std::unique_ptr<QTemporaryDir> stage_;
    std::unique_ptr<PendingFile> mark_;
};

} // namespace quillon
