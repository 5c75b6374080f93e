#pragma once
// A file held open under a lock that belongs to this opening of it: the lock lasts
// exactly as long as the file is held, and ends with the process however the process
// ends. While held, the file can be written, flushed to the disk, renamed over another
// and removed. One implementation per system (file_lock_posix.cpp).
//
// On failure errno says why, as the callers report it.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace quillon {

class FileLock {
public:
    enum class Created {
        Yes,     // made, held, and locked where the file system has locks
        Exists,  // a file of that name is there already (never taken over)
        Refused, // the folder refuses
    };

    FileLock() = default;
    ~FileLock(); // closes, which ends the lock
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Makes path as a new empty file and locks it.
    Created create(const QString& path);
    // Opens the existing file at path, never through a link, and tries to lock it.
    // False when it cannot be opened.
    bool open(const QString& path);

    bool isOpen() const { return native_ != Closed; }
    // Whether this opening holds the lock: false when another opening holds it, and
    // where the file system has no locks.
    bool locked() const { return locked_; }
    // Whether the file's name still leads to the file held (a sweeper may have removed
    // it, or a new file taken the name).
    bool isStillNamed() const;

    // Appends all of bytes; false when the write stopped short.
    bool write(const QByteArray& bytes);
    // The bytes reach the disk; a file system that cannot be asked is no failure.
    bool flush();
    // Gives the file the permissions of another.
    void copyPermissionsOf(const QString& file);
    // Renames the file over target in one step, replacing what is there; still held.
    bool renameOver(const QString& target);
    // Removes the file's name, then closes it; false when the name stayed.
    bool remove();
    void close();

private:
    // The system's handle of the opened file: a descriptor, or a handle on Windows;
    // -1 is no file on either.
    static constexpr std::intptr_t Closed = -1;
    std::intptr_t native_ = Closed;
    QString path_;
    bool locked_ = false;
};

} // namespace quillon
