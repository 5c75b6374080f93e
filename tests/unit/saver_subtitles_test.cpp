// Where the screen saver's subtitles come from, and the random choice by DiceMode that it
// shares with the main window.
#include "app/saver/saver_subtitles.h"
#include "platform/core/random.h"
#include "settings/settings_store.h"
#include "subtitles/subtitle_choice.h"
#include "support/raised.h"
#include "support/virtual_card.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST(SubtitleChoice, DiceModeDecidesTheListWhateverItsSize) {
    const QList<QByteArray> catalogue = {"A B", "C", "D E", "F"};
    const QList<QByteArray> user = {"U V"};
    Random random;
    random.setSeed(12345);
    int fromUser = 0;
    for (int i = 0; i < 2000; ++i)
        fromUser += randomSubtitle(random, 0, catalogue, user).line1 == "U";
    // Each side about half the time, although the user list holds a single line.
    EXPECT_GT(fromUser, 900);
    EXPECT_LT(fromUser, 1100);
    for (int i = 0; i < 200; ++i) {
        EXPECT_NE(randomSubtitle(random, 1, catalogue, user).line1, "U");
        for (int mode : {2, -1, 7})
            EXPECT_EQ(randomSubtitle(random, mode, catalogue, user), (SubtitleLines{"U", "V"}));
    }
    // An empty list names no item: two empty lines.
    EXPECT_EQ(randomSubtitle(random, 2, catalogue, {}), SubtitleLines{});
    // An item as a list holds it: up to a NUL, and nothing when it is too long to read.
    EXPECT_EQ(itemText({QByteArray("A B\0C", 5)}, 0), QByteArray("A B"));
    EXPECT_EQ(itemText({QByteArray(ItemBufferSize, 'x')}, 0), QByteArray());
    EXPECT_EQ(itemText({QByteArray(ItemBufferSize - 1, 'x')}, 0).size(), ItemBufferSize - 1);
}

TEST(SaverSubtitles, TheListsTheSettingsName) {
    const QTemporaryDir dir;
    const QString userFile =
        writeFile(dir, QStringLiteral("mine.qln"), sj(QStringLiteral("夜の 港\r\n風\r\n")));
    Settings settings;
    EXPECT_EQ(subtitlesFromSettings(settings).catalogue.size(), 228);
    EXPECT_EQ(subtitlesFromSettings(settings).diceMode, 1);

    settings.original = 0;
    settings.userFile = userFile;
    settings.diceMode = 2;
    SaverSubtitles s = subtitlesFromSettings(settings);
    EXPECT_EQ(s.catalogue.size(), 23);
    EXPECT_EQ(s.user, (QList<QByteArray>{sj(QStringLiteral("夜の 港")), sj(QStringLiteral("風"))}));
    EXPECT_EQ(s.diceMode, 2);
    Random random;
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(s.user.toList().contains(s.next(random).line2.isEmpty()
                                                 ? sj(QStringLiteral("風"))
                                                 : sj(QStringLiteral("夜の 港"))));

    // A user file that is gone, or a folder: the catalogue only, as the settings
    // dialog's check makes it.
    for (const QString& path : {dir.filePath(QStringLiteral("gone.qln")), dir.path()}) {
        settings.userFile = path;
        EXPECT_EQ(subtitlesFromSettings(settings).diceMode, 1) << path.toStdString();
    }
}

TEST(SaverSubtitles, AUserFileThatCannotBeReadIsNamedAndLeftOut) {
    const QTemporaryDir dir;
    Settings settings;
    settings.userFile = writeFile(dir, QStringLiteral("mine.qln"), "A B\r\n");
    settings.diceMode = 0;
    QFile::setPermissions(settings.userFile, {});
    if (QFile(settings.userFile).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "the superuser reads any file";
    QString problem;
    const SaverSubtitles s = subtitlesFromSettings(settings, &problem);
    EXPECT_EQ(s.diceMode, 1);
    EXPECT_TRUE(s.user.isEmpty());
    EXPECT_EQ(problem, QStringLiteral("ファイル %1 は開けません").arg(settings.userFile));
}

TEST(SaverSubtitles, AListFileOfItsOwn) {
    const QTemporaryDir dir;
    const SaverSubtitles s =
        subtitlesFromFile(writeFile(dir, QStringLiteral("a.qln"), sj(QStringLiteral("一 二\r\n"))));
    Random random;
    EXPECT_EQ(s.next(random), (SubtitleLines{sj(QStringLiteral("一")), sj(QStringLiteral("二"))}));

    const QString empty = writeFile(dir, QStringLiteral("empty.qln"), {});
    EXPECT_EQ(raised([&] { subtitlesFromFile(empty); }),
              QStringLiteral("ファイル %1 にサブタイトルがありません").arg(empty));
    const QString gone = dir.filePath(QStringLiteral("gone.qln"));
    EXPECT_EQ(raised([&] { subtitlesFromFile(gone); }),
              QStringLiteral("ファイル %1 は開けません").arg(gone));
}

} // namespace
} // namespace quillon::testing
