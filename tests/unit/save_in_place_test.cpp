// Saving into a folder where no new file may be created (a shared or managed folder
// holding a writable Quillon.ini or .qln): the temporary file of an atomic save cannot
// be made there, so the file is written in place instead of the save failing.
#include "platform/core/atomic_file.h"
#include "settings/option_form.h"
#include "subtitles/user_file.h"
#include "support/program_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

// The folder's permissions apply as to an ordinary user: the superuser's file accesses
// are made as "nobody" (setfsuid drops the capabilities that would bypass them).
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (geteuid() == 0) {
            setfsgid(65534);
            setfsuid(65534);
        }
    }
    ~AsOrdinaryUser() {
        if (geteuid() == 0) {
            setfsuid(0);
            setfsgid(0);
        }
    }
};

// A folder in which nothing new may be created, holding a file anyone may write.
void lockFolder(const QString& folder, const QString& file, const QByteArray& bytes) {
    writeFile(file, bytes);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadOther | QFileDevice::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                  QFileDevice::ReadOther | QFileDevice::ExeOther));
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class SaveInPlace : public ProgramFixture {
protected:
    void TearDown() override {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        ProgramFixture::TearDown();
    }
};

} // namespace

TEST_F(SaveInPlace, AFileInALockedFolderIsWrittenInPlace) {
    const QString qln = dir.filePath(QStringLiteral("mine.qln"));
    lockFolder(dir.path(), qln, "OLD \r\n");
    {
        AsOrdinaryUser user;
        // The folder really refuses new files to this user.
        EXPECT_FALSE(QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly));
        writeSubtitleFile(qln, {"OLD ", "NEW "});
        // A file that is not there cannot be made either way.
        EXPECT_EQ(saveFileAtomically(dir.filePath(QStringLiteral("new.qln")), "AB \r\n"),
                  SaveResult::CannotCreate);
    }
    EXPECT_EQ(readFile(qln), QByteArray("OLD \r\nNEW \r\n"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("mine.qln")});
}

TEST_F(SaveInPlace, TheSettingsFileInALockedFolderIsSaved) {
    makeProgram();
    lockFolder(dir.path(), ini(), "; kept\r\n[Option]\r\nWait=5\r\n");
    {
        AsOrdinaryUser user;
        OptionForm->ModIni();
    }
    const QByteArray saved = readFile(ini());
    EXPECT_TRUE(saved.startsWith("; kept\r\n[Option]\r\nWait=120\r\n")) << saved.constData();
    EXPECT_TRUE(saved.contains("Magnify=70\r\n"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("Quillon.ini")});
}

TEST(SaveAtomically, AWritableFolderStillGetsAWholeNewFile) {
    // Where a temporary file can be made, the old file is replaced by a new one (a
    // reader holding the old one keeps it whole), not rewritten in place.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mine.qln"));
    writeFile(path, "OLD \r\n");
    QFile held(path);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(saveFileAtomically(path, "NEW \r\n"), SaveResult::Saved);
    EXPECT_EQ(held.readAll(), QByteArray("OLD \r\n"));
    EXPECT_EQ(readFile(path), QByteArray("NEW \r\n"));
}
