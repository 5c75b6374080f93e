#include "platform/core/file_lock.h"

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <windows.h>

// The file is opened sharing reading, writing and deletion, so that an outside program
// (ffmpeg) can write it by name and it can be renamed or removed while open. The lock
// is on one byte far beyond any data: Windows enforces byte-range locks on everyone, and
// a lock there lasts as long as the handle and ends with its process however that ends,
// without getting in the way of the data.

namespace quillon {

namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD LockOffsetHigh = 0x7FFFFFFF;

HANDLE handleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// The callers report errno, as on every other system.
void setErrnoFromLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        errno = EEXIST;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_WRITE_PROTECT:
        errno = EROFS;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    default:
        errno = EIO;
        break;
    }
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

// Never through a link: the handle is the link itself, and the name leads nowhere else.
HANDLE openExisting(const QString& path, DWORD access) {
    return CreateFileW(wide(nativePath(path)), access, ShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

} // namespace

FileLock::~FileLock() {
    close();
}

FileLock::Created FileLock::create(const QString& path) {
    close();
    // CREATE_NEW: never take over a file that is already there.
    const HANDLE file = CreateFileW(wide(nativePath(path)), GENERIC_READ | GENERIC_WRITE, ShareAll,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        setErrnoFromLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Created::Exists
                                                                           : Created::Refused;
    }
    native_ = reinterpret_cast<std::intptr_t>(file);
    path_ = path;
    locked_ = lockMark(file);
    return Created::Yes;
}

bool FileLock::open(const QString& path) {
    close();
    const HANDLE file = openExisting(path, GENERIC_READ | GENERIC_WRITE);
    if (file == INVALID_HANDLE_VALUE) {
        setErrnoFromLastError();
        return false;
    }
    native_ = reinterpret_cast<std::intptr_t>(file);
    path_ = path;
    locked_ = lockMark(file);
    return true;
}

bool FileLock::isStillNamed() const {
    if (!isOpen())
        return false;
    const HANDLE named = openExisting(path_, FILE_READ_ATTRIBUTES);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    const auto a = identity(handleOf(native_)), b = identity(named);
    CloseHandle(named);
    // Wine forgets the volume of a handle whose file was renamed (it reads as 0); the
    // name is in the folder the file was made or renamed in, so its volume is the same.
    const auto sameVolume = [&] {
        return a->dwVolumeSerialNumber == 0 || a->dwVolumeSerialNumber == b->dwVolumeSerialNumber;
    };
    return a && b && sameVolume() && a->nFileIndexHigh == b->nFileIndexHigh &&
           a->nFileIndexLow == b->nFileIndexLow;
}

bool FileLock::write(const QByteArray& bytes) {
    if (!isOpen()) {
        errno = EBADF;
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(handleOf(native_), bytes.constData() + done, chunk, &written, nullptr) ||
            written == 0) {
            setErrnoFromLastError();
            return false;
        }
        done += written;
    }
    return true;
}

// A file system that cannot be asked to flush is no failure.
bool FileLock::flush() {
    if (isOpen() &&
        (FlushFileBuffers(handleOf(native_)) || GetLastError() == ERROR_INVALID_FUNCTION))
        return true;
    setErrnoFromLastError();
    return false;
}

// Windows files have no permission bits to carry over: the new file takes the folder's
// access rules, as the old one did.
void FileLock::copyPermissionsOf(const QString&) {}

bool FileLock::renameOver(const QString& target) {
    if (!isOpen() || !MoveFileExW(wide(nativePath(path_)), wide(nativePath(target)),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        setErrnoFromLastError();
        return false;
    }
    path_ = target;
    return true;
}

bool FileLock::remove() {
    // Deleted while still open: it goes once the handle closes, and no one can open it
    // again in between.
    const bool removed = isOpen() && DeleteFileW(wide(nativePath(path_)));
    if (!removed && isOpen())
        setErrnoFromLastError();
    close();
    return removed;
}

void FileLock::close() {
    if (isOpen())
        CloseHandle(handleOf(native_));
    native_ = Closed;
    locked_ = false;
}

} // namespace quillon
