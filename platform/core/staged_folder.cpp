#include "platform/core/staged_folder.h"

#include "platform/core/error.h"
#include "platform/core/pending_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace quillon {

namespace {

const QString MarkName = QStringLiteral(".stage");

[[noreturn]] void cannotWrite(const QString& path) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Errors", "%s に書き込めません"), {path}));
}

bool moveTo(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Stages whose writer is gone are removed whole; those of a live writer, and hidden
// folders that are not stages, stay.
void removeAbandonedStages(const QDir& beside, const QString& prefix) {
    const QStringList entries =
        beside.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& entry : entries) {
        if (!entry.startsWith(prefix) || entry.size() != prefix.size() + 6)
            continue;
        const QString mark = QDir(beside.filePath(entry)).filePath(MarkName);
        if (removeAbandonedParts(mark) > 0 && !hasParts(mark))
            QDir(beside.filePath(entry)).removeRecursively();
    }
}

} // namespace

StagedFolder::StagedFolder(const QString& folder) : folder_(QDir(folder).absolutePath()) {
    const QFileInfo info(folder_);
    into_ = info.isDir() && !QDir(folder_).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                   QDir::Hidden | QDir::System);
    const QString beside = into_ ? folder_ : info.absolutePath();
    if (!QFileInfo(beside).isDir())
        cannotWrite(folder);
    const QString prefix = QLatin1Char('.') + info.fileName() + QLatin1Char('-');
    removeAbandonedStages(QDir(beside), prefix);
    stage_ =
        std::make_unique<QTemporaryDir>(QDir(beside).filePath(prefix + QStringLiteral("XXXXXX")));
    if (!stage_->isValid())
        cannotWrite(folder);
    mark_ = std::make_unique<PendingFile>(stage_->filePath(MarkName));
}

StagedFolder::~StagedFolder() = default;

QString StagedFolder::filePath(const QString& name) const {
    return stage_->filePath(name);
}

void StagedFolder::commit() {
    mark_.reset();
    if (!into_) {
        // An empty folder of that name gives way to the full one.
        QDir().rmdir(folder_);
        if (!moveTo(stage_->path(), folder_))
            cannotWrite(folder_);
        stage_->setAutoRemove(false);
        // Made private while it was being written; a folder like any other now.
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther);
        return;
    }
    // Each file replaces one of its name at once; the others in the folder stay.
    const QDir stage(stage_->path());
    for (const QString& name : stage.entryList(QDir::Files)) {
        const QString target = QDir(folder_).filePath(name);
        if (!moveTo(stage.filePath(name), target))
            cannotWrite(target);
    }
}

} // namespace quillon
