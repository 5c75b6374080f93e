#include "platform/core/pending_file.h"

#include "platform/core/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& target) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Errors", "%s に書き込めません"), {target}));
}

constexpr int TagDigits = 6;
const QString PartSuffix = QStringLiteral(".part");

// Hidden, and named after the target so that a leftover tells where it came from:
// ".NAME.xxxxxx.part".
QString partPrefix(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QLatin1Char('.');
}

bool isTag(QStringView tag) {
    return tag.size() == TagDigits && std::all_of(tag.begin(), tag.end(), [](QChar c) {
               return QStringLiteral("0123456789abcdef").contains(c);
           });
}

bool isPartOf(const QString& entry, const QString& prefix) {
    return entry.startsWith(prefix) && entry.endsWith(PartSuffix) &&
           entry.size() == prefix.size() + TagDigits + PartSuffix.size() &&
           isTag(QStringView(entry).mid(prefix.size(), TagDigits));
}

// ".NAME.xxxxxx.part" for any NAME.
bool isAnyPart(const QString& entry) {
    const qsizetype nameEnd = entry.size() - PartSuffix.size() - TagDigits - 1;
    return nameEnd > 1 && entry.startsWith(QLatin1Char('.')) && entry.endsWith(PartSuffix) &&
           entry.at(nameEnd) == QLatin1Char('.') &&
           isTag(QStringView(entry).mid(nameEnd + 1, TagDigits));
}

// Only a lock refused because another holds it tells of a live writer; a file system
// without locks cannot tell, and then the file is left alone too.
bool removeIfAbandoned(const QString& path) {
    FileLock file;
    return file.open(path) && file.locked() && file.isStillNamed() && file.remove();
}

// The names of the temporary files in folder that match. Matched by hand: a name filter
// would read wildcards in a target's own name.
template <typename Match> QStringList partsIn(const QDir& folder, Match match) {
    QStringList parts;
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (match(entry))
            parts << folder.filePath(entry);
    return parts;
}

// The names in target's folder of its temporary files.
QStringList partsOf(const QString& target) {
    const QFileInfo info(target);
    if (info.fileName().isEmpty())
        return {};
    const QString prefix = partPrefix(info);
    return partsIn(info.absoluteDir(),
                   [&prefix](const QString& entry) { return isPartOf(entry, prefix); });
}

int removeAbandoned(const QStringList& parts) {
    int removed = 0;
    for (const QString& part : parts)
        removed += removeIfAbandoned(part) ? 1 : 0;
    return removed;
}

} // namespace

int removeAbandonedParts(const QString& target) {
    return removeAbandoned(partsOf(target));
}

int removeAbandonedPartsIn(const QString& folder) {
    return removeAbandoned(partsIn(QDir(folder), isAnyPart));
}

bool isReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    constexpr auto AnyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    // The mode bits, not only the access check: the superuser passes that check.
    return (info.permissions() & AnyWrite) == 0 || !info.isWritable();
}

bool hasParts(const QString& target) {
    return !partsOf(target).isEmpty();
}

PendingFile::PendingFile(const QString& target) : target_(target) {
    const QFileInfo info(target);
    if (info.fileName().isEmpty() || info.isDir())
        cannotWrite(target);
    if (isReadOnlyFile(target))
        cannotWrite(target);
    // Any writer's leftovers in the folder go, whatever file they were meant to become: a
    // killed export may never be written again under its name.
    removeAbandonedPartsIn(info.absolutePath());
    const QString stem = info.absoluteDir().filePath(partPrefix(info));
    for (int attempt = 0; attempt < 16 && !file_.isOpen(); ++attempt) {
        temporary_ = stem +
                     QStringLiteral("%1").arg(QRandomGenerator::global()->generate() & 0xFFFFFF,
                                              TagDigits, 16, QLatin1Char('0')) +
                     PartSuffix;
        // Never take over a file that is already there.
        if (createLocked() == FileLock::Created::Refused)
            break; // not a clash of names: the folder refuses
    }
    if (!file_.isOpen())
        cannotWrite(target);
}

FileLock::Created PendingFile::createLocked() {
    const FileLock::Created made = file_.create(temporary_);
    // A sweeper may have taken the file for abandoned between its creation and the lock.
    if (made == FileLock::Created::Yes && file_.locked() && !file_.isStillNamed()) {
        file_.close();
        return FileLock::Created::Exists; // try another name
    }
    // Where the file system has no locks the file is still written; a sweeper there
    // cannot lock it either, so it leaves it alone.
    return made;
}

PendingFile::~PendingFile() {
    discard();
}

bool PendingFile::write(const QByteArray& bytes) {
    return file_.write(bytes);
}

void PendingFile::copyPermissionsOf(const QString& file) {
    file_.copyPermissionsOf(file);
}

bool PendingFile::tryCommit() {
    if (!file_.isOpen())
        return false;
    // The bytes reach the disk before the name does, so a power cut leaves the old file
    // or the new one, never an empty one.
    if (!file_.flush())
        return failCommit();
    // Replaces an existing target in one step; the lock is held until the rename is done.
    if (!file_.renameOver(target_))
        return failCommit();
    file_.close();
    return true;
}

bool PendingFile::failCommit() {
    const int error = errno; // what the caller reports, not what the clean-up met
    discard();
    errno = error;
    return false;
}

void PendingFile::commit() {
    if (!tryCommit())
        cannotWrite(target_);
}

void PendingFile::discard() {
    file_.remove();
}

} // namespace quillon
