// What every system's FileLock must do for PendingFile to tell a live writer's
// temporary file from an abandoned one, and to put a finished file in place.
#include "platform/core/file_lock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

TEST(FileLock, HeldByOneOpeningAtATimeAndRenamedOrRemovedWhileHeld) {
    const QTemporaryDir dir;
    const QString part = dir.filePath(QStringLiteral(".a.part"));
    const QString target = dir.filePath(QStringLiteral("a"));

    FileLock writer;
    ASSERT_EQ(writer.create(part), FileLock::Created::Yes);
    EXPECT_TRUE(writer.locked());
    EXPECT_TRUE(writer.isStillNamed());
    // Never taken over, nor made where the folder is missing.
    EXPECT_EQ(FileLock().create(part), FileLock::Created::Exists);
    EXPECT_EQ(FileLock().create(dir.filePath(QStringLiteral("no/b"))), FileLock::Created::Refused);

    // A second opening, even in the same process, does not get the lock until the
    // first is closed.
    {
        FileLock sweeper;
        ASSERT_TRUE(sweeper.open(part));
        EXPECT_FALSE(sweeper.locked());
    }
    ASSERT_TRUE(writer.write("new"));
    ASSERT_TRUE(writer.flush());

    // Renamed over an older file in one step, and still held under the new name.
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    ASSERT_TRUE(writer.renameOver(target));
    EXPECT_TRUE(writer.isStillNamed());
    EXPECT_FALSE(QFile::exists(part));
    EXPECT_EQ(contents(target), QByteArray("new"));
    FileLock other;
    ASSERT_TRUE(other.open(target));
    EXPECT_FALSE(other.locked());
    other.close();

    // A new file under the name is no longer the one held.
    ASSERT_TRUE(QFile::rename(target, part));
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    EXPECT_FALSE(writer.isStillNamed());
    ASSERT_TRUE(QFile::remove(target));

    writer.close();
    EXPECT_FALSE(FileLock().open(target));
    ASSERT_TRUE(other.open(part));
    EXPECT_TRUE(other.locked());
    EXPECT_TRUE(other.remove());
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

} // namespace
} // namespace quillon
