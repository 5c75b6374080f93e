// The user subtitle file's format as read and written, its failures, and how the user
// list takes lines that are outside the format.
#include "platform/core/error.h"
#include "platform/core/pending_file.h"
#include "subtitles/subtitle_combo.h"
#include "subtitles/user_file.h"
#include "support/raised.h"

#include "support/program_fixture.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

using Lines = QList<QByteArray>;

} // namespace

TEST(UserFileFormat, LineEndsAsRead) {
    // CR LF after every line, as the program writes.
    EXPECT_EQ(parseSubtitleLines("AB \r\n"), Lines{"AB "});
    EXPECT_EQ(parseSubtitleLines("AB CD\r\nEF \r\n"), (Lines{"AB CD", "EF "}));
    // LF only, and a last line without a line end.
    EXPECT_EQ(parseSubtitleLines("AB CD\nEF "), (Lines{"AB CD", "EF "}));
    // CR only; a CR that is not followed by LF is a line end of its own.
    EXPECT_EQ(parseSubtitleLines("AB\rCD\r"), (Lines{"AB", "CD"}));
    EXPECT_EQ(parseSubtitleLines("A\r\rB"), (Lines{"A", "", "B"}));
    // LF then CR is two line ends, not one.
    EXPECT_EQ(parseSubtitleLines("A\n\rB"), (Lines{"A", "", "B"}));
    // Empty lines in the middle become empty items; the final line end adds none.
    EXPECT_EQ(parseSubtitleLines("A \r\n\r\nB \r\n"), (Lines{"A ", "", "B "}));
    EXPECT_EQ(parseSubtitleLines("\r\n"), Lines{""});
    EXPECT_TRUE(parseSubtitleLines("").isEmpty());
    // Nothing is trimmed.
    EXPECT_EQ(parseSubtitleLines("  A  \t\n"), Lines{"  A  \t"});
}

TEST(UserFileFormat, WrittenWithCrLfAfterEveryLine) {
    EXPECT_EQ(serializeSubtitleLines({"AB CD", "EF "}), QByteArray("AB CD\r\nEF \r\n"));
    EXPECT_EQ(serializeSubtitleLines({"AB CD", "", "EF "}), QByteArray("AB CD\r\n\r\nEF \r\n"));
    EXPECT_TRUE(serializeSubtitleLines({}).isEmpty());
}

TEST(UserFileFormat, ForeignLineEndsAreRewrittenWithCrLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("other.qln"));
    writeFile(path, "AB CD\nEF \rGH");
    const Lines lines = readSubtitleFile(path).items.toList();
    ASSERT_EQ(lines, (Lines{"AB CD", "EF ", "GH"}));
    writeSubtitleFile(path, lines);
    EXPECT_EQ(readFile(path), QByteArray("AB CD\r\nEF \r\nGH\r\n"));
}

TEST(UserFileFormat, OneLineSubtitleIsStoredWithItsSpace) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.qln"));
    writeSubtitleFile(path, {"AB "});
    EXPECT_EQ(readFile(path), QByteArray::fromHex("4142200d0a"));
}

TEST(UserFileFailures, TargetThatCannotBeReplaced) {
    QTemporaryDir dir;
    // A folder where the file should be: nothing may be written over it.
    const QString folder = dir.filePath(QStringLiteral("taken.qln"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(raised([&] { writeSubtitleFile(folder, {"AB "}); }),
              QStringLiteral("ファイル %1 を作成できません").arg(QDir::toNativeSeparators(folder)));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    const QString missing = dir.filePath(QStringLiteral("no such folder/new.qln"));
    EXPECT_EQ(
        raised([&] { writeSubtitleFile(missing, {"AB "}); }),
        QStringLiteral("ファイル %1 を作成できません").arg(QDir::toNativeSeparators(missing)));
    EXPECT_FALSE(QFileInfo::exists(missing));

    // No temporary file is left behind by the failed writes.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(UserFileFailures, ReadOnlyFileIsLeftAsItWas) {
    // Whoever runs the test, the superuser included: the mode bits say read-only. Through
    // a link too, and for any writer of the folder (an export) as well.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.qln"));
    const QString link = dir.filePath(QStringLiteral("link.qln"));
    writeFile(path, "OLD \r\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::link(path, link));
    for (const QString& target : {path, link})
        EXPECT_EQ(
            raised([&] {
                writeSubtitleFile(target, {"OLD ", "NEW "});
            }),
            QStringLiteral("ファイル %1 を作成できません").arg(QDir::toNativeSeparators(target)));
    EXPECT_EQ(raised([&] { PendingFile export_(path); }),
              QStringLiteral("%1 に書き込めません").arg(path));
    EXPECT_EQ(readFile(path), QByteArray("OLD \r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST(UserFileFailures, FileThatCannotBeOpened) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("folder.qln"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(raised([&] { readSubtitleFile(folder); }),
              QStringLiteral("ファイル %1 は開けません").arg(QDir::toNativeSeparators(folder)));
}

TEST(UserFileOutsideTheFormat, NulAndOverlongLinesSurviveARewrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.qln"));
    const QByteArray withNul("AB\0CD EF", 8);
    const QByteArray longest(SubtitleCombo::ItemBufferSize - 1, 'x'); // 4095 bytes: fits
    // 4096 bytes: held, but too long for the buffer (longer ones end what is read).
    const QByteArray overlong = QByteArray(SubtitleCombo::ItemBufferSize - 2, 'y') + " z";
    const QByteArray original = withNul + "\n" + longest + "\r\n" + overlong + "\r" + "GH ";
    writeFile(path, original);

    SubtitleCombo combo;
    combo.setItems(readSubtitleFile(path).items);
    ASSERT_EQ(combo.itemCount(), 4);
    // The fields take an item up to its NUL; a line too long for the buffer gives nothing.
    EXPECT_EQ(combo.itemBytes(0), QByteArray("AB"));
    EXPECT_EQ(combo.itemBytes(1), longest);
    EXPECT_TRUE(combo.itemBytes(2).isEmpty());
    EXPECT_EQ(combo.itemBytes(3), QByteArray("GH "));
    EXPECT_TRUE(combo.itemBytes(4).isEmpty());
    EXPECT_TRUE(combo.itemBytes(-1).isEmpty());

    // A change of the list rewrites the file from the whole items: nothing is lost.
    combo.removeItemAt(3);
    writeSubtitleFile(path, combo.items());
    EXPECT_EQ(readFile(path), withNul + "\r\n" + longest + "\r\n" + overlong + "\r\n");
}
