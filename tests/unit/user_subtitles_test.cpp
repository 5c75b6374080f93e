// Saving the typed subtitle with the pencil and deleting one from the user list, inside
// the program's four windows, with Quillon.ini in a temporary folder and every box
// answered by a fake.
#include "platform/core/error.h"
#include "platform/text/sjis.h"
#include "platform/ui/prompts.h"
#include "platform/ui/radio_group.h"
#include "settings/settings_store.h"
#include "subtitles/subtitle_combo.h"
#include "support/program_fixture.h"
#include "support/raised.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

const QString NoFile = QStringLiteral("User's Fileがありません。\n作成しますか？");
const QString Saved = QStringLiteral("ユーザー指定サブタイトルを保存しました。");
const QString Deleted = QStringLiteral("ユーザー指定サブタイトルを削除しました。");
const QString Placeholder = QStringLiteral("　↓　ユーザー定義サブタイトル一覧");

class UserSubtitles : public ProgramFixture {
protected:
    // Starts the program with a user file in use holding these bytes.
    void startWithFile(const QByteArray& bytes, int diceMode = 2) {
        writeFile(qln(), bytes);
        writeFile(ini(), "[File]\r\nUserFile=" + sjis::fromUnicode(qln()) +
                             "\r\n[Option]\r\nDiceMode=" + QByteArray::number(diceMode) + "\r\n");
        makeProgram();
    }
    void type(const QString& line1, const QString& line2) {
        MainForm->Edit1->setText(line1);
        MainForm->Edit2->setText(line2);
    }
    void chooseAndDelete(int index) {
        MainForm->ComboBox2->setItemIndex(index);
        MainForm->UserTitleDeleteClick();
    }
    QString qln() const { return dir.filePath("mine.qln"); }
    SubtitleCombo& list() { return *MainForm->ComboBox2; }
};

} // namespace

TEST_F(UserSubtitles, FirstSaveCreatesAFileOfOneLine) {
    makeProgram();
    const QString path = dir.filePath("new.qln");
    fake.saveAnswer = path;
    type(QStringLiteral("AB"), {});
    MainForm->PencilImageClick();

    EXPECT_EQ(fake.questions, QStringList{NoFile});
    EXPECT_EQ(fake.saveChooserCalls, QStringList{QStringLiteral("*.qln qln")});
    EXPECT_EQ(readFile(path), QByteArray::fromHex("4142200d0a"));
    EXPECT_TRUE(list().isEnabled());
    EXPECT_EQ(list().items(), QList<QByteArray>{"AB "});
    EXPECT_EQ(OptionForm->UserFile(), path);
    EXPECT_EQ(OptionForm->UserFileButton->text(), QStringLiteral("new.qln"));
    EXPECT_TRUE(OptionForm->DiceRadioGroup->isEnabled());
    EXPECT_EQ(OptionForm->DiceMode(), 1);
    EXPECT_EQ(fake.reports, QStringList{Saved});
    EXPECT_TRUE(readFile(ini()).contains(
        "UserFile=" + sjis::fromUnicode(QDir::toNativeSeparators(path)) + "\r\n"));
    // The line fields stay as typed, ready to run.
    EXPECT_EQ(MainForm->Edit1->text(), QStringLiteral("AB"));
}

TEST_F(UserSubtitles, DecliningOrCancellingChangesNothing) {
    makeProgram();
    type(QStringLiteral("AB"), QStringLiteral("CD"));
    fake.yes = false;
    fake.saveAnswer = dir.filePath("new.qln");
    MainForm->PencilImageClick();
    EXPECT_EQ(fake.questions.size(), 1);
    EXPECT_TRUE(fake.saveChooserCalls.isEmpty());

    fake.yes = true;
    fake.saveAnswer.clear();
    MainForm->PencilImageClick();
    EXPECT_EQ(fake.saveChooserCalls.size(), 1);

    // Without a line 1 nothing is asked at all, even with a line 2.
    type({}, QStringLiteral("CD"));
    MainForm->PencilImageClick();
    EXPECT_EQ(fake.questions.size(), 2);

    EXPECT_TRUE(fake.reports.isEmpty());
    EXPECT_TRUE(OptionForm->UserFile().isEmpty());
    EXPECT_FALSE(list().isEnabled());
    EXPECT_FALSE(OptionForm->DiceRadioGroup->isEnabled());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(UserSubtitles, SavingAppendsAndRewritesTheWholeFile) {
    // Written by another program: LF only, no final line end, an empty line.
    startWithFile("AB CD\n\nEF ");
    ASSERT_EQ(list().count(), 3);
    // Taking the empty line empties both fields.
    type(QStringLiteral("x"), QStringLiteral("y"));
    MainForm->GetComboString(2, 1);
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    EXPECT_TRUE(MainForm->Edit2->text().isEmpty());

    type(QStringLiteral("GH"), QStringLiteral("IJ"));
    MainForm->PencilImageClick();
    MainForm->PencilImageClick();
    EXPECT_TRUE(fake.questions.isEmpty());
    EXPECT_EQ(fake.reports, (QStringList{Saved, Saved}));
    EXPECT_EQ(readFile(qln()), QByteArray("AB CD\r\n\r\nEF \r\nGH IJ\r\nGH IJ\r\n"));
    EXPECT_EQ(list().count(), 5);
    EXPECT_EQ(list().itemIndex(), -1); // read back: nothing chosen
    EXPECT_EQ(OptionForm->DiceMode(), 2);
    EXPECT_TRUE(readFile(ini()).contains("DiceMode=2"));
}

TEST_F(UserSubtitles, PastedLineEndsDoNotSplitTheSavedSubtitle) {
    startWithFile(""); // an empty file is in use: an enabled, empty list
    EXPECT_TRUE(list().isEnabled());
    EXPECT_EQ(list().count(), 0);
    type(QStringLiteral("A\nB"), QStringLiteral("C\r\nD\r"));
    MainForm->PencilImageClick();
    EXPECT_EQ(readFile(qln()), QByteArray("AB CD\r\n"));
    EXPECT_EQ(list().items(), QList<QByteArray>{"AB CD"});
}

TEST_F(UserSubtitles, AFileThatCannotBeReplacedStopsTheSave) {
    // The file replaced by a folder behind the program's back, then made read-only by the
    // user (which the superuser could write, and must not).
    for (const bool readOnly : {false, true}) {
        startWithFile("AB CD\r\n");
        if (readOnly) {
            ASSERT_TRUE(QFile::setPermissions(
                qln(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        } else {
            ASSERT_TRUE(QFile::remove(qln()));
            ASSERT_TRUE(QDir().mkdir(qln()));
        }
        QFile::remove(ini());
        type(QStringLiteral("EF"), {});
        EXPECT_EQ(raised([&] { MainForm->PencilImageClick(); }),
                  QStringLiteral("ファイル %1 を作成できません").arg(qln()));
        // The new item stays in the list, but nothing is reported and nothing saved.
        EXPECT_EQ(list().items(), (QList<QByteArray>{"AB CD", "EF "}));
        EXPECT_TRUE(fake.reports.isEmpty());
        EXPECT_FALSE(QFile::exists(ini()));
        if (readOnly)
            EXPECT_EQ(readFile(qln()), QByteArray("AB CD\r\n"));
        else
            ASSERT_TRUE(QDir().rmdir(qln()));
        program.reset();
    }
}

TEST_F(UserSubtitles, DeletingOneOfThree) {
    startWithFile("AB CD\r\nEF GH\r\nIJ \r\n");
    MainForm->GetComboString(2, 1);
    list().setText(QStringLiteral("EF GH"));
    QFile::remove(ini());
    chooseAndDelete(1);
    EXPECT_EQ(fake.questions,
              QStringList{QStringLiteral("EF GH\nをユーザーファイルから削除しますか？")});
    EXPECT_EQ(fake.reports, QStringList{Deleted});
    EXPECT_EQ(readFile(qln()), QByteArray("AB CD\r\nIJ \r\n"));
    EXPECT_EQ(list().items(), (QList<QByteArray>{"AB CD", "IJ "}));
    // The text field and the line fields keep what they showed; the settings are not saved.
    EXPECT_EQ(list().text(), QStringLiteral("EF GH"));
    EXPECT_EQ(MainForm->Edit1->text(), QStringLiteral("EF"));
    EXPECT_FALSE(QFile::exists(ini()));

    // Every read-back leaves nothing chosen, so a second delete needs a new pick.
    MainForm->UserTitleDeleteClick();
    EXPECT_EQ(fake.questions.size(), 1);
}

TEST_F(UserSubtitles, DeletingTheLastRemovesTheFile) {
    startWithFile("AB CD\r\n", 2);
    ASSERT_EQ(OptionForm->DiceMode(), 2);
    const int catalogue = MainForm->ComboBox1->itemCount();
    MainForm->ComboBox1->clearItems();
    chooseAndDelete(0);
    EXPECT_EQ(fake.reports, QStringList{Deleted});
    EXPECT_FALSE(QFile::exists(qln()));
    EXPECT_TRUE(OptionForm->UserFile().isEmpty());
    EXPECT_TRUE(readFile(ini()).contains("[File]\r\nUserFile=\r\n"));
    EXPECT_EQ(list().text(), Placeholder);
    EXPECT_FALSE(list().isEnabled());
    EXPECT_EQ(OptionForm->DiceMode(), 1);
    EXPECT_FALSE(OptionForm->DiceRadioGroup->isEnabled());
    EXPECT_EQ(OptionForm->UserFileButton->text(), QStringLiteral("not selected"));
    EXPECT_EQ(MainForm->ComboBox1->itemCount(), catalogue); // the catalogue refresh ran again
}

TEST_F(UserSubtitles, DeleteWithNothingChosenOrDeclined) {
    startWithFile("AB CD\r\nEF \r\n");
    MainForm->UserTitleDeleteClick();
    EXPECT_TRUE(fake.questions.isEmpty());

    fake.yes = false;
    chooseAndDelete(0);
    EXPECT_EQ(fake.questions.size(), 1);
    EXPECT_TRUE(fake.reports.isEmpty());
    EXPECT_EQ(readFile(qln()), QByteArray("AB CD\r\nEF \r\n"));
    EXPECT_EQ(list().count(), 2);
}

TEST_F(UserSubtitles, DeletingKeepsLinesOutsideTheFormat) {
    const QByteArray withNul("AB\0CD", 5);
    // Too long for the item buffer, not so long that the list stops before it.
    const QByteArray overlong(4096, 'x');
    startWithFile(withNul + "\r\n" + overlong + "\r\nEF \r\n");
    chooseAndDelete(2);
    EXPECT_EQ(readFile(qln()), withNul + "\r\n" + overlong + "\r\n");
}
