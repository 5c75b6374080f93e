#include "platform/core/pending_file.h"

#include "platform/core/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <io.h>
#include <windows.h>

// The temporary file is opened sharing reading, writing and deletion, so that an outside
// program (ffmpeg) can write it by name and it can be renamed while open. Its writer
// holds an exclusive lock on one byte far beyond any data: a byte-range lock lasts as
// long as the handle, ends with its process however that ends, and so tells a live
// writer from a dead one without getting in the way of the data.

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& target) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Errors", "%s に書き込めません"), {target}));
}

constexpr int TagDigits = 6;
const QString PartSuffix = QStringLiteral(".part");
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD LockOffsetHigh = 0x7FFFFFFF;

const wchar_t* wide(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// ".NAME.xxxxxx.part": named after the target, so that a leftover tells where it came
// from. Not given the hidden attribute: a program that recreates a hidden file by name
// is refused, and ffmpeg does just that.
QString partPrefix(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QLatin1Char('.');
}

bool isPartOf(const QString& entry, const QString& prefix) {
    if (!entry.startsWith(prefix, Qt::CaseInsensitive) ||
        !entry.endsWith(PartSuffix, Qt::CaseInsensitive) ||
        entry.size() != prefix.size() + TagDigits + PartSuffix.size())
        return false;
    for (const QChar c : entry.mid(prefix.size(), TagDigits))
        if (!QStringLiteral("0123456789abcdef").contains(c, Qt::CaseInsensitive))
            return false;
    return true;
}

bool lockMark(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = LockOffsetHigh;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

std::optional<BY_HANDLE_FILE_INFORMATION> identity(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    return info;
}

// Whether the name still leads to the opened file: a sweeper may have deleted it
// between its creation and its lock.
bool sameFile(HANDLE file, const QString& path) {
    const HANDLE named = CreateFileW(wide(nativePath(path)), FILE_READ_ATTRIBUTES, ShareAll,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    const auto a = identity(file), b = identity(named);
    CloseHandle(named);
    return a && b && a->dwVolumeSerialNumber == b->dwVolumeSerialNumber &&
           a->nFileIndexHigh == b->nFileIndexHigh && a->nFileIndexLow == b->nFileIndexLow;
}

bool removeIfAbandoned(const QString& path) {
    const HANDLE file = CreateFileW(wide(nativePath(path)), GENERIC_READ | GENERIC_WRITE, ShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // Only a lock refused because another holds it tells of a live writer.
    const bool removed = lockMark(file) && DeleteFileW(wide(nativePath(path)));
    CloseHandle(file);
    return removed;
}

// The names in target's folder of its temporary files. Matched by hand: a name filter
// would read wildcards in the target's own name.
QStringList partsOf(const QString& target) {
    const QFileInfo info(target);
    QStringList parts;
    if (info.fileName().isEmpty())
        return parts;
    const QString prefix = partPrefix(info);
    const QDir folder = info.absoluteDir();
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (isPartOf(entry, prefix))
            parts << folder.filePath(entry);
    return parts;
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

} // namespace

int removeAbandonedParts(const QString& target) {
    int removed = 0;
    for (const QString& part : partsOf(target))
        removed += removeIfAbandoned(part) ? 1 : 0;
    return removed;
}

bool hasParts(const QString& target) {
    return !partsOf(target).isEmpty();
}

PendingFile::PendingFile(const QString& target) : target_(target) {
    const QFileInfo info(target);
    if (info.fileName().isEmpty() || info.isDir())
        cannotWrite(target);
    removeAbandonedParts(target);
    const QString stem = info.absoluteDir().filePath(partPrefix(info));
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        temporary_ = stem +
                     QStringLiteral("%1").arg(QRandomGenerator::global()->generate() & 0xFFFFFF,
                                              TagDigits, 16, QLatin1Char('0')) +
                     PartSuffix;
        if (!createLocked() && GetLastError() != ERROR_FILE_EXISTS)
            break; // not a clash of names: the folder refuses
    }
    if (fd_ < 0)
        cannotWrite(target);
}

bool PendingFile::createLocked() {
    // CREATE_NEW: never take over a file that is already there.
    const HANDLE file = CreateFileW(wide(nativePath(temporary_)), GENERIC_READ | GENERIC_WRITE,
                                    ShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (lockMark(file) && !sameFile(file, temporary_)) {
        CloseHandle(file);
        SetLastError(ERROR_FILE_EXISTS); // try another name
        return false;
    }
    // A file system without locks still gets the file; a sweeper there cannot lock it
    // either, so it leaves it alone.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), 0);
    if (fd < 0) {
        CloseHandle(file);
        DeleteFileW(wide(nativePath(temporary_)));
        return false;
    }
    fd_ = fd;
    return true;
}

PendingFile::~PendingFile() {
    discard();
}

bool PendingFile::write(const QByteArray& bytes) {
    if (fd_ < 0)
        return false;
    const HANDLE file = handleOf(fd_);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.constData() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Windows files have no permission bits to carry over: the new file takes the folder's
// access rules, as the old one did.
void PendingFile::copyPermissionsOf(const QString&) {}

bool PendingFile::tryCommit() {
    if (fd_ < 0)
        return false;
    // The bytes reach the disk before the name does, so a power cut leaves the old file
    // or the new one, never an empty one.
    if (!FlushFileBuffers(handleOf(fd_)))
        return failCommit();
    // Replaces an existing target in one step while the lock is held.
    if (!MoveFileExW(wide(nativePath(temporary_)), wide(nativePath(target_)),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failCommit();
    _close(fd_);
    fd_ = -1;
    return true;
}

bool PendingFile::failCommit() {
    const DWORD error = GetLastError(); // what the caller reports, not what the clean-up met
    discard();
    SetLastError(error);
    return false;
}

void PendingFile::commit() {
    if (!tryCommit())
        cannotWrite(target_);
}

void PendingFile::discard() {
    if (fd_ < 0)
        return;
    // Deleted while still open: it goes once the handle closes, and no one can reopen it
    // in between.
    DeleteFileW(wide(nativePath(temporary_)));
    _close(fd_);
    fd_ = -1;
}

} // namespace quillon
