// The settings dialog on its own: Quillon.ini in a temporary folder, the choosers
// answered by a fake, and fakes for the two lists it fills and the window it shows.
#include "platform/core/error.h"
#include "platform/text/sjis.h"
#include "platform/ui/prompts.h"
#include "platform/ui/radio_group.h"
#include "platform/ui/spin_edit.h"
#include "settings/option_form.h"
#include "subtitles/subtitle_list.h"
#include "support/program_fixture.h"
#include "support/raised.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

const QByteArray Mincho = sjis::fromUnicode(QStringLiteral("ＭＳ 明朝"));
const QByteArray InitialFile =
    "[File]\r\nUserFile=\r\n[Font]\r\nName=" + Mincho +
    "\r\nCharset=128\r\n[Option]\r\nAutoClose=0\r\nSilent=0\r\nDiceMode=1\r\n"
    "Original=3\r\nWait=120\r\nStartWait=1500\r\nMagnify=70\r\n";

// A list that keeps what it was given.
class FakeList : public SubtitleList {
public:
    QList<QByteArray> items;
    bool enabled = true;
    int refills = 0;
    void setItems(SubtitleItems list) override {
        items = list.toList();
        ++refills;
    }
    void clearItems() override { setItems({}); }
    void enableList(bool on) override { enabled = on; }
};

class SettingsDialog : public ProgramFixture {
protected:
    void TearDown() override {
        dialog.reset();
        ProgramFixture::TearDown();
    }
    void start() {
        dialog = std::make_unique<TOptionForm>(catalogue, user);
        dialog->clickCue = [this] { ++cues; };
        dialog->showMainWindow = [this] { ++mainWindowShown; };
    }
    QString userFile(const QByteArray& lines) {
        const QString path = dir.filePath("mine.qln");
        writeFile(path, lines);
        return path;
    }
    TOptionForm& form() { return *dialog; }

    FakeList catalogue;
    FakeList user;
    std::unique_ptr<TOptionForm> dialog;
    int cues = 0;
    int mainWindowShown = 0;
};

} // namespace

TEST_F(SettingsDialog, FirstStartShowsTheInitialValuesAndWritesNothing) {
    start();
    EXPECT_EQ(form().windowTitle(), QStringLiteral("設定"));
    EXPECT_EQ(form().size(), QSize(392, 263));
    EXPECT_EQ(form().FontButton->text(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(form().UserFileButton->text(), QStringLiteral("not selected"));
    EXPECT_FALSE(form().DiceRadioGroup->isEnabled());
    EXPECT_EQ(form().DiceRadioGroup->button(1)->text(), QStringLiteral("オリジナルのみ"));
    EXPECT_EQ(form().DiceMode(), 1);
    EXPECT_EQ(form().OriginalRadioGroup->button(3)->text(), QStringLiteral("全部入り"));
    EXPECT_EQ(form().Original(), 3);
    EXPECT_EQ(form().Wait(), 120);
    EXPECT_EQ(form().StartWait(), 1500);
    EXPECT_EQ(form().Magnify(), 70);
    EXPECT_FALSE(form().AutoClose());
    EXPECT_FALSE(form().Silent());
    EXPECT_EQ(form().Font().charset, 128);
    EXPECT_EQ(catalogue.items.size(), 228);
    EXPECT_FALSE(user.enabled);
    EXPECT_TRUE(form().OkButton->isDefault());
    EXPECT_EQ(form().OkButton->property("hint").toString(),
              QStringLiteral("変更した設定を適用して文字列入力画面に戻ります"));
    EXPECT_TRUE(form().OkButton->toolTip().isEmpty());
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(SettingsDialog, TabOrderFollowsTheWindow) {
    start();
    const std::vector<QWidget*> order{form().OkButton,
                                      form().UserFileButton,
                                      form().UserFileReleaseButton,
                                      form().FontButton,
                                      form().AutoCloseCheckBox,
                                      form().SilentCheckBox,
                                      form().OriginalRadioGroup->button(0),
                                      form().OriginalRadioGroup->button(3),
                                      form().DiceRadioGroup->button(0),
                                      form().DiceRadioGroup->button(2),
                                      form().MagnifySpinEdit->editor(),
                                      form().StartWaitSpinEdit->editor(),
                                      form().WaitSpinEdit->editor(),
                                      form().CancelButton};
    std::vector<QWidget*> chain;
    QWidget* w = form().OkButton;
    do {
        chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != form().OkButton && chain.size() < 100);
    auto position = [&](QWidget* x) {
        return std::find(chain.begin(), chain.end(), x) - chain.begin();
    };
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(position(order[i - 1]), position(order[i])) << i;
}

TEST_F(SettingsDialog, LoadTakesKeyDefaultsClampsAndKeepsAnEmptyName) {
    writeFile(
        ini(),
        "[Font]\r\nName=\r\nCharset=0x180\r\n[Option]\r\nWait=9999\r\nStartWait=0\r\nMagnify=-5\r\n"
        "AutoClose=yes\r\nSilent=2\r\nDiceMode=7\r\nOriginal=-3\r\n");
    start();
    EXPECT_EQ(form().FontButton->text(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(form().Font().charset, 128);
    EXPECT_EQ(form().Wait(), 500);
    EXPECT_EQ(form().StartWait(), 500);
    EXPECT_EQ(form().Magnify(), 0);
    EXPECT_FALSE(form().AutoClose());
    EXPECT_TRUE(form().Silent());
    EXPECT_EQ(form().DiceMode(), 1); // 7 loads as 2, then the missing user file sets 1
    EXPECT_EQ(form().Original(), -1);
    EXPECT_EQ(catalogue.items.size(), 228);
}

TEST_F(SettingsDialog, EmptyFileGivesKeyDefaultsAndTheCatalogueFollowsOriginal) {
    writeFile(ini(), "");
    start();
    EXPECT_EQ(form().Wait(), 70);
    EXPECT_EQ(form().Original(), 1);
    EXPECT_EQ(catalogue.items.size(), 155);
    const int counts[] = {23, 155, 50, 228, 228};
    for (int original = 0; original <= 4; ++original) {
        form().OriginalRadioGroup->setItemIndex(original == 4 ? -1 : original);
        form().ModCombo();
        EXPECT_EQ(catalogue.items.size(), counts[original]) << original;
    }
    EXPECT_EQ(catalogue.items.value(23), form().ListBox2.first());
}

TEST_F(SettingsDialog, OkWritesTheFileEvenUnchangedAndKeepsOtherLines) {
    start();
    form().OkButtonClick();
    EXPECT_EQ(readFile(ini()), InitialFile);
    EXPECT_EQ(cues, 2); // the button, then the close step

    writeFile(ini(), "; mine\r\n[Option]\r\nWait=5\r\nColour=red\r\n");
    form().WaitSpinEdit->setValue(45);
    form().OkButtonClick();
    const QByteArray after = readFile(ini());
    EXPECT_TRUE(after.startsWith("; mine\r\n[Option]\r\nWait=45\r\nColour=red\r\nAutoClose=0\r\n"))
        << after.constData();
    EXPECT_TRUE(
        after.endsWith("[File]\r\nUserFile=\r\n[Font]\r\nName=" + Mincho + "\r\nCharset=128\r\n"));
}

TEST_F(SettingsDialog, AFailedSaveKeepsTheDialogAndTheOldFile) {
    start();
    form().OriginalRadioGroup->setItemIndex(0);
    // A folder in place of the file, then a folder that does not exist: neither can
    // be written, whoever runs the test.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Quillon.ini"));
    EXPECT_THROW(form().OkButtonClick(), Exception);
    EXPECT_EQ(catalogue.items.size(), 228); // no refresh after the failure
    environment.settings = dir.filePath("gone");
    EXPECT_EQ(raised([&] { form().ModIni(); }),
              QDir::toNativeSeparators(dir.filePath("gone/Quillon.ini")) +
                  QStringLiteral(" に書き込めません"));

    // A file the user made read-only, whoever runs the test: OK says so, the dialog stays
    // open and the file keeps every byte.
    environment.settings = dir.path();
    ASSERT_TRUE(QDir(dir.path()).rmdir("Quillon.ini"));
    const QByteArray kept = "[Option]\r\nWait=5\r\n";
    writeFile(ini(), kept);
    ASSERT_TRUE(QFile::setPermissions(ini(), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ReadOther));
    form().show();
    EXPECT_EQ(raised([&] { form().OkButtonClick(); }),
              QDir::toNativeSeparators(ini()) + QStringLiteral(" に書き込めません"));
    EXPECT_TRUE(form().isVisible());
    EXPECT_EQ(readFile(ini()), kept);

    // A writable file in a folder that refuses new files is written in place.
    environment.settings = dir.filePath("ro");
    ASSERT_TRUE(QDir(dir.path()).mkdir("ro"));
    const QString inFolder = dir.filePath("ro/Quillon.ini");
    writeFile(inFolder, kept);
    QFile::setPermissions(dir.filePath("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    form().ModIni();
    QFile::setPermissions(dir.filePath("ro"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(readFile(inFolder).startsWith("[Option]\r\nWait=120\r\n"));
    EXPECT_EQ(QDir(dir.filePath("ro")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Quillon.ini")});
}

TEST_F(SettingsDialog, CancelReloadsAndTheCloseBoxKeepsEditsUnwritten) {
    writeFile(ini(), InitialFile);
    start();
    fake.fontAnswer = QStringLiteral("Other Face");
    form().FontButtonClick();
    form().MagnifySpinEdit->setValue(30);
    form().OriginalRadioGroup->setItemIndex(0);
    EXPECT_EQ(form().FontButton->text(), QStringLiteral("Other Face"));
    form().CancelButtonClick();
    EXPECT_EQ(form().FontButton->text(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(form().Magnify(), 70);
    EXPECT_EQ(form().Original(), 3);

    form().show();
    form().WaitSpinEdit->setValue(10);
    QTest::keyClick(&form(), Qt::Key_Escape); // Esc is Cancel
    EXPECT_EQ(form().Wait(), 120);
    EXPECT_FALSE(form().isVisible());

    cues = 0;
    mainWindowShown = 0;
    form().show();
    form().MagnifySpinEdit->setValue(30);
    form().OriginalRadioGroup->setItemIndex(0);
    form().close();
    EXPECT_EQ(cues, 1);
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_EQ(form().Magnify(), 30);         // in force at once
    EXPECT_EQ(catalogue.items.size(), 228);  // no refresh by the close box
    EXPECT_EQ(readFile(ini()), InitialFile); // nothing written
}

TEST_F(SettingsDialog, CancelWithoutAFileKeepsTheEdits) {
    start();
    form().WaitSpinEdit->setValue(10);
    form().CancelButtonClick();
    EXPECT_EQ(form().Wait(), 10);
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(SettingsDialog, NumberFieldsStepClampAndRefuseLetters) {
    start();
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    SpinEdit& wait = *form().WaitSpinEdit;
    QLineEdit* text = wait.editor();
    text->setFocus();
    text->clear();
    QTest::keyClicks(text, "99x99");
    EXPECT_EQ(fake.beeps, 1);
    EXPECT_EQ(wait.text(), QStringLiteral("9999"));
    EXPECT_EQ(form().Wait(), 9999); // not checked while typing
    form().MagnifySpinEdit->editor()->setFocus();
    EXPECT_EQ(wait.text(), QStringLiteral("500"));

    QTest::mouseClick(wait.upButton(), Qt::LeftButton);
    EXPECT_EQ(form().Wait(), 500);
    wait.setText(QStringLiteral("497"));
    QTest::mouseClick(wait.upButton(), Qt::LeftButton);
    EXPECT_EQ(form().Wait(), 500);
    QTest::keyClick(text, Qt::Key_Down);
    EXPECT_EQ(form().Wait(), 495);
    EXPECT_EQ(wait.upButton()->autoRepeatDelay(), 400);
    EXPECT_EQ(wait.upButton()->autoRepeatInterval(), 100);

    // An emptied field reads as its minimum, and is saved so.
    form().StartWaitSpinEdit->setText({});
    EXPECT_EQ(form().StartWait(), 500);
    form().ModIni();
    EXPECT_TRUE(readFile(ini()).contains("StartWait=500\r\n"));
}

TEST_F(SettingsDialog, ChoosingAndReleasingAUserFile) {
    start();
    const QString path = userFile("AB CD\r\nEF \r\n");
    fake.openAnswer = path;
    form().UserFileButtonClick();
    EXPECT_EQ(fake.lastFilter.description, QStringLiteral("ユーザー指定サブタイトル"));
    EXPECT_EQ(fake.lastFilter.pattern, QStringLiteral("*.qln"));
    EXPECT_EQ(fake.lastSuffix, QStringLiteral("qln"));
    EXPECT_EQ(form().UserFile(), path);
    EXPECT_EQ(form().UserFileButton->text(), QStringLiteral("mine.qln"));
    EXPECT_TRUE(form().DiceRadioGroup->isEnabled());
    EXPECT_TRUE(user.enabled);
    EXPECT_EQ(user.items.size(), 2);
    EXPECT_EQ(cues, 1);

    form().DiceRadioGroup->setItemIndex(0);
    form().UserFileReleaseButtonClick();
    EXPECT_EQ(cues, 1); // no cue for the release
    EXPECT_EQ(form().UserFileButton->text(), QStringLiteral("not selected"));
    EXPECT_EQ(form().DiceMode(), 1);
    EXPECT_FALSE(form().DiceRadioGroup->isEnabled());
    EXPECT_TRUE(form().UserFile().isEmpty());
    EXPECT_EQ(user.items.size(), 0);
    EXPECT_FALSE(QFile::exists(ini()));

    // A typed name of no existing file counts as none; a cancel changes nothing.
    fake.openAnswer = dir.filePath("typed.qln");
    form().UserFileButtonClick();
    EXPECT_TRUE(form().UserFile().isEmpty());
    fake.openAnswer.clear();
    form().setUserFile(path);
    form().UserFileButtonClick();
    EXPECT_EQ(form().UserFile(), path);
}

TEST_F(SettingsDialog, AStoredUserFileIsLoadedOrForgottenWhenItVanished) {
    const QString path = userFile("AB CD\r\n");
    writeFile(ini(),
              "[File]\r\nUserFile=" + sjis::fromUnicode(path) + "\r\n[Option]\r\nDiceMode=2\r\n");
    start();
    EXPECT_EQ(form().DiceMode(), 2);
    EXPECT_EQ(user.items.value(0), QByteArray("AB CD"));

    QFile::remove(path);
    form().GetIni();
    EXPECT_TRUE(form().UserFile().isEmpty());
    EXPECT_EQ(form().DiceMode(), 1);
    form().ModIni();
    EXPECT_TRUE(readFile(ini()).startsWith("[File]\r\nUserFile=\r\n"));
}

TEST_F(SettingsDialog, AUserFileWhosePathShiftJisCannotHoldSurvivesARestart) {
    QDir(dir.path()).mkdir(QStringLiteral("café"));
    const QString path = dir.filePath(QStringLiteral("café/zoë.qln"));
    writeFile(path, "AB CD\r\n");
    start();
    fake.openAnswer = path;
    form().UserFileButtonClick();
    form().DiceRadioGroup->button(0)->setChecked(true);
    form().OkButtonClick();

    dialog.reset();
    start();
    EXPECT_EQ(form().UserFile(), path);
    EXPECT_EQ(form().DiceMode(), 0);
    EXPECT_EQ(user.items.value(0), QByteArray("AB CD"));
    EXPECT_EQ(form().UserFileButton->text(), QStringLiteral("zoë.qln"));
}

TEST_F(SettingsDialog, AnUnreadableUserFileIsReportedAtStartAndTheProgramGoesOn) {
    // A socket exists as a file but cannot be opened for reading, even by root.
    const QString path = dir.filePath("mine.qln");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    ASSERT_LT(native.size(), static_cast<qsizetype>(sizeof address.sun_path));
    std::memcpy(address.sun_path, native.constData(), native.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    writeFile(ini(), "[File]\r\nUserFile=" + sjis::fromUnicode(path) + "\r\n");
    start();
    ::close(sock);
    ASSERT_EQ(fake.errors.size(), 1);
    EXPECT_EQ(fake.errors[0], QStringLiteral("ファイル ") + path + QStringLiteral(" は開けません"));
    EXPECT_TRUE(form().DiceRadioGroup->isEnabled());
    EXPECT_TRUE(user.enabled);
    EXPECT_EQ(form().UserFileButton->text(), QStringLiteral("mine.qln"));
    EXPECT_EQ(catalogue.items.size(), 0); // the load stopped before the refresh
    EXPECT_THROW(form().CancelButtonClick(), Exception);
    EXPECT_EQ(form().UserFile(), path);
}

TEST_F(SettingsDialog, APencilFileIsNamedAndItsChooserAnswered) {
    start();
    fake.saveAnswer = dir.filePath("new.qln");
    EXPECT_EQ(form().chooseNewUserFile(nullptr), fake.saveAnswer);
    form().setUserFile(fake.saveAnswer);
    form().setDiceChoiceEnabled(true);
    EXPECT_EQ(form().UserFileButton->text(), QStringLiteral("new.qln"));
    EXPECT_EQ(form().UserFile(), fake.saveAnswer);
    EXPECT_TRUE(form().DiceRadioGroup->isEnabled());
    fake.saveAnswer.clear();
    EXPECT_TRUE(form().chooseNewUserFile(nullptr).isEmpty());
}
