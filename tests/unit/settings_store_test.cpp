#include "platform/text/sjis.h"
#include "settings/settings_store.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {
Settings load(const QByteArray& file, const Settings& current = {}) {
    return readSettings(IniDocument::parse(file), current);
}
const QByteArray Mincho = sjis::fromUnicode(QStringLiteral("ＭＳ 明朝"));
} // namespace

TEST(SettingsStore, ReadsIntegersInDecimalOrHexadecimal) {
    EXPECT_EQ(parseIniInteger("-12"), -12);
    EXPECT_EQ(parseIniInteger("+7"), 7);
    EXPECT_EQ(parseIniInteger("0x20"), 32);
    EXPECT_EQ(parseIniInteger("0XfF"), 255);
    EXPECT_EQ(parseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(parseIniInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad :
         {"", "yes", "0x", "1.5", "12a", "-", "2147483648", "0x100000000", "-0x20"})
        EXPECT_EQ(parseIniInteger(bad), std::nullopt) << bad;
}

TEST(SettingsStore, AnEmptyFileGivesTheKeyDefaults) {
    Settings current;
    current.faceName = "Keep";
    const Settings s = load("", current);
    EXPECT_EQ(s.wait, 70);
    EXPECT_EQ(s.original, 1);
    EXPECT_EQ(s.startWait, 1500);
    EXPECT_EQ(s.magnify, 70);
    EXPECT_EQ(s.diceMode, 1);
    EXPECT_EQ(s.charset, 128);
    EXPECT_EQ(s.faceName, Mincho); // a missing Name is the default face, not "as it was"
    EXPECT_FALSE(s.autoClose);
    EXPECT_TRUE(s.userFile.isEmpty());
}

TEST(SettingsStore, NumbersAreClampedAndUnreadableOnesTakeTheirDefaults) {
    const Settings s =
        load("[Option]\r\nWait=9999\r\nStartWait=0\r\nMagnify=-5\r\nDiceMode=7\r\nOriginal=-3\r\n"
             "AutoClose=yes\r\nSilent=2\r\n[Font]\r\nCharset=384\r\n");
    EXPECT_EQ(s.wait, 500);
    EXPECT_EQ(s.startWait, 500);
    EXPECT_EQ(s.magnify, 0);
    EXPECT_EQ(s.diceMode, 2);
    EXPECT_EQ(s.original, -1);
    EXPECT_FALSE(s.autoClose);
    EXPECT_TRUE(s.silent);
    EXPECT_EQ(s.charset, 128);
    EXPECT_EQ(load("[Option]\r\nWait=0x20\r\n").wait, 32);
    EXPECT_EQ(load("[Option]\r\nWait=\r\n").wait, 70);
}

TEST(SettingsStore, FaceNamesAreCutTo31BytesWithoutSplittingACharacter) {
    Settings current;
    current.faceName = "Kept Face";
    EXPECT_EQ(load("[Font]\r\nName=\r\n", current).faceName, QByteArray("Kept Face"));
    const QByteArray forty(40, 'F');
    EXPECT_EQ(load("[Font]\r\nName=" + forty + "\r\n").faceName, QByteArray(31, 'F'));
    // 15 double-byte characters are 30 bytes; the 16th would end at byte 32.
    QByteArray wide;
    for (int i = 0; i < 20; ++i)
        wide += "\x96\xbe";
    EXPECT_EQ(load("[Font]\r\nName=" + wide + "\r\n").faceName, wide.left(30));
    EXPECT_EQ(cutFaceName("a" + wide), "a" + wide.left(30));
}

TEST(SettingsStore, InitialValuesWriteTheDocumentedFile) {
    IniDocument doc;
    ASSERT_TRUE(writeSettings(doc, Settings{}));
    const QByteArray expected =
        "[File]\r\nUserFile=\r\n[Font]\r\nName=" + Mincho +
        "\r\nCharset=128\r\n[Option]\r\nAutoClose=0\r\nSilent=0\r\nDiceMode=1\r\n"
        "Original=3\r\nWait=120\r\nStartWait=1500\r\nMagnify=70\r\n";
    EXPECT_EQ(doc.serialize(), expected);
    // And what is written reads back as it was.
    Settings odd;
    odd.userFile = QStringLiteral("/tmp/ユーザー.qln");
    odd.original = -1;
    odd.autoClose = true;
    EXPECT_EQ(readSettings(doc, {}), Settings{});
    ASSERT_TRUE(writeSettings(doc, odd));
    EXPECT_EQ(readSettings(doc, {}), odd);
}

TEST(SettingsStore, AUserFilePathShiftJisCannotHoldIsStoredAsAFileUrl) {
    // Paths Shift-JIS holds are stored as ever, as Shift-JIS text in the system's form.
    const QString japanese = QStringLiteral("/home/ユーザー/字幕 一覧.qln");
    const QByteArray stored = sjis::fromUnicode(QDir::toNativeSeparators(japanese));
    EXPECT_EQ(storedPath(japanese), stored);
    EXPECT_EQ(pathOfStored(stored), japanese);
    // Others as a file URL of their UTF-8 bytes; the wave dash would come back as the
    // full-width tilde, another file, and "file://" itself must not mislead the reader.
    const struct {
        QString path;
        QByteArray stored;
    } others[] = {
        {QStringLiteral("/home/zoë/café 100%.qln"), "file:///home/zo%C3%AB/caf%C3%A9%20100%25.qln"},
        {QStringLiteral("/tmp/A〜B.qln"), "file:///tmp/A%E3%80%9CB.qln"},
        {QStringLiteral("file:///x.qln"), "file://file%3A///x.qln"},
    };
    for (const auto& o : others) {
        // On Windows "file:///x.qln" is kept as "file:\\\x.qln", which misleads no reader.
        if (QDir::separator() == u'/' || !o.path.startsWith(QStringLiteral("file:"))) {
            EXPECT_EQ(storedPath(o.path), o.stored);
        }
        EXPECT_EQ(pathOfStored(o.stored), o.path);
        EXPECT_EQ(pathOfStored(storedPath(o.path)), o.path);
    }
    // A URL whose escapes are not UTF-8 is just text.
    EXPECT_EQ(pathOfStored("file:///%FF.qln"), QStringLiteral("file:///%FF.qln"));

    // Through the settings file.
    IniDocument doc;
    Settings s;
    s.userFile = QStringLiteral("/home/zoë/mine.qln");
    ASSERT_TRUE(writeSettings(doc, s));
    EXPECT_TRUE(doc.serialize().contains("UserFile=file:///home/zo%C3%AB/mine.qln\r\n"));
    EXPECT_EQ(readSettings(IniDocument::parse(doc.serialize()), {}).userFile, s.userFile);
}
