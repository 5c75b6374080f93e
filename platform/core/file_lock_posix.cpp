#include "platform/core/file_lock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

int fdOf(std::intptr_t native) {
    return static_cast<int>(native);
}

// An open-file-description lock: it belongs to this opening of the file, not to the
// process, so a second opening in the same process is refused too.
bool lockWhole(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

FileLock::~FileLock() {
    close();
}

FileLock::Created FileLock::create(const QString& path) {
    close();
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? Created::Exists : Created::Refused;
    native_ = fd;
    path_ = path;
    locked_ = lockWhole(fd);
    return Created::Yes;
}

bool FileLock::open(const QString& path) {
    close();
    // Non-blocking: a fifo left under the name must not hold the program up.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    native_ = fd;
    path_ = path;
    locked_ = lockWhole(fd);
    return true;
}

bool FileLock::isStillNamed() const {
    struct stat opened {
    }, named{};
    return isOpen() && fstat(fdOf(native_), &opened) == 0 &&
           lstat(QFile::encodeName(path_).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

bool FileLock::write(const QByteArray& bytes) {
    if (!isOpen())
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fdOf(native_), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool FileLock::flush() {
    return isOpen() && (::fsync(fdOf(native_)) == 0 || errno == EINVAL);
}

void FileLock::copyPermissionsOf(const QString& file) {
    struct stat info {};
    if (isOpen() && ::stat(QFile::encodeName(file).constData(), &info) == 0)
        ::fchmod(fdOf(native_), info.st_mode & 07777);
}

bool FileLock::renameOver(const QString& target) {
    if (!isOpen() ||
        ::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    path_ = target;
    return true;
}

bool FileLock::remove() {
    const bool removed = isOpen() && ::unlink(QFile::encodeName(path_).constData()) == 0;
    close();
    return removed;
}

void FileLock::close() {
    if (isOpen())
        ::close(fdOf(native_));
    native_ = Closed;
    locked_ = false;
}

} // namespace quillon
