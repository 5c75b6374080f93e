// Where Quillon.ini lives: a named file, one already beside the program, or the user's
// own configuration folder; and a save there through the settings dialog.
#include "platform/core/error.h"
#include "platform/ui/spin_edit.h"
#include "settings/option_form.h"
#include "settings/settings_location.h"
#include "support/command_lines.h"
#include "support/program_fixture.h"
#include "support/raised.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
using Kind = SettingsLocation::Kind;

namespace {

class SettingsLocationRules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("bin"));
        in = {QString(), dir.filePath("bin"), dir.filePath("xdg"), dir.filePath("home")};
    }
    void putBesideProgram() { writeFile(dir.filePath("bin/Quillon.ini"), "[Option]\r\n"); }

    QTemporaryDir dir;
    SettingsLocationInputs in;
};

} // namespace

TEST_F(SettingsLocationRules, ANamedFileWinsOverEverything) {
    putBesideProgram();
    in.configOption = dir.filePath("elsewhere/mine.ini");
    const SettingsLocation named = settingsLocation(in);
    EXPECT_EQ(named.kind, Kind::Named);
    EXPECT_EQ(named.path, dir.filePath("elsewhere/mine.ini"));
    EXPECT_FALSE(named.makeFolder());

    in.configOption = QStringLiteral("relative.ini");
    EXPECT_EQ(settingsLocation(in).path, QDir::current().absoluteFilePath("relative.ini"));
}

TEST_F(SettingsLocationRules, AFileBesideTheProgramKeepsPortableUse) {
    putBesideProgram();
    const SettingsLocation beside = settingsLocation(in);
    EXPECT_EQ(beside.kind, Kind::BesideProgram);
    EXPECT_EQ(beside.path, dir.filePath("bin/Quillon.ini"));
    EXPECT_FALSE(beside.makeFolder());
}

TEST_F(SettingsLocationRules, OtherwiseTheUsersConfigurationFolder) {
    SettingsLocation user = settingsLocation(in);
    EXPECT_EQ(user.kind, Kind::UserConfig);
    EXPECT_EQ(user.path, dir.filePath("xdg/quillon/Quillon.ini"));
    EXPECT_TRUE(user.makeFolder());

    // An unset or relative XDG_CONFIG_HOME means ~/.config.
    for (const QString& xdg : {QString(), QStringLiteral("relative/config")}) {
        in.xdgConfigHome = xdg;
        EXPECT_EQ(settingsLocation(in).path, dir.filePath("home/.config/quillon/Quillon.ini"));
    }
    // Nothing is ever written beside the program when no file is there already.
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("bin/Quillon.ini")));
}

TEST(SettingsConfigOption, TakenFromAnyPlaceWithoutTouchingTheFirstArgument) {
    const auto config = [](std::initializer_list<const char*> a) {
        return readCommandLine(quillon::testing::args(a)).mode.configFile;
    };
    const auto problem = [](std::initializer_list<const char*> a) {
        return readCommandLine(quillon::testing::args(a)).problem;
    };
    EXPECT_EQ(config({}), QString());
    EXPECT_EQ(config({"/s", "--config", "/tmp/a.ini"}), QStringLiteral("/tmp/a.ini"));
    EXPECT_EQ(config({"-config", "b.ini", "/p"}), QStringLiteral("b.ini"));
    EXPECT_EQ(config({"--config=c.ini", "--config", "d.ini"}), QStringLiteral("d.ini"));
    EXPECT_EQ(config({"--window", "-config=e.ini"}), QStringLiteral("e.ini"));
    // A name that looks like a switch is still the file's name.
    EXPECT_EQ(config({"--config", "/S"}), QStringLiteral("/S"));
    EXPECT_EQ(readCommandLine(quillon::testing::args({"--config", "/S"})).mode.kind,
              RunKind::Normal);
    EXPECT_FALSE(problem({"/s", "--config", "a.ini", "1234"}));

    const QString missing = QStringLiteral("--config needs the path of a settings file");
    EXPECT_EQ(problem({"/s", "--config"}), missing);
    EXPECT_EQ(problem({"--config="}), missing);
    EXPECT_EQ(problem({"--config", ""}), missing);
}

namespace {

// The real program's rules (no test directory), with XDG_CONFIG_HOME in a temporary
// folder of the test's own.
class SettingsInUserFolder : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Quillon.ini"))
            GTEST_SKIP() << "a Quillon.ini beside the test program takes precedence";
        savedXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        environment.settings.clear(); // the usual rules
        makeProgram();
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", savedXdg);
        ProgramFixture::TearDown();
    }
    QString userIni() const { return dir.filePath("config/quillon/Quillon.ini"); }

    QByteArray savedXdg;
};

} // namespace

TEST_F(SettingsInUserFolder, TheFirstSaveMakesAPrivateFolder) {
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("config"))); // not at load
    OptionForm->WaitSpinEdit->setValue(45);
    OptionForm->ModIni();
    EXPECT_TRUE(readFile(userIni()).contains("\r\nWait=45\r\n"));
    const auto permissions = QFileInfo(dir.filePath("config/quillon")).permissions();
    EXPECT_EQ(permissions & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);

    OptionForm->WaitSpinEdit->setValue(0);
    OptionForm->GetIni();
    EXPECT_EQ(OptionForm->Wait(), 45);
}

TEST_F(SettingsInUserFolder, AnUnwritableFolderGivesTheStoresMessageAndLosesNothing) {
    // A file where the folder should be blocks every user, root included.
    writeFile(dir.filePath("config"), "not a folder");
    OptionForm->WaitSpinEdit->setValue(45);
    EXPECT_EQ(raised([this] { OptionForm->ModIni(); }),
              QDir::toNativeSeparators(userIni()) + QStringLiteral(" に書き込めません"));
    EXPECT_EQ(OptionForm->Wait(), 45);
    EXPECT_EQ(readFile(dir.filePath("config")), QByteArray("not a folder"));

    // A folder that refuses new files loses nothing either: the file in it, writable, is
    // written in place.
    QFile::remove(dir.filePath("config"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("config/quillon"));
    writeFile(userIni(), "[Option]\r\nWait=5\r\n");
    const QString folder = dir.filePath("config/quillon");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    OptionForm->ModIni();
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(readFile(userIni()).startsWith("[Option]\r\nWait=45\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Quillon.ini")});
}

TEST_F(SettingsLocationRules, OnWindowsBesideAWritableProgramElseInAppData) {
    in.appData = dir.filePath("AppData/Roaming");
    in.programFolderWritable = true;
    const SettingsLocation portable = settingsLocation(in);
    EXPECT_EQ(portable.kind, Kind::BesideProgram);
    EXPECT_EQ(portable.path, dir.filePath("bin/Quillon.ini"));

    in.programFolderWritable = false; // under Program Files
    const SettingsLocation installed = settingsLocation(in);
    EXPECT_EQ(installed.kind, Kind::UserConfig);
    EXPECT_EQ(installed.path, dir.filePath("AppData/Roaming/Quillon/Quillon.ini"));
    EXPECT_TRUE(installed.makeFolder());

    // A file already there, or one named, still comes first.
    putBesideProgram();
    EXPECT_EQ(settingsLocation(in).kind, Kind::BesideProgram);
    in.configOption = dir.filePath("mine.ini");
    EXPECT_EQ(settingsLocation(in).path, dir.filePath("mine.ini"));
}
