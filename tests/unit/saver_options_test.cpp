// The screen saver's command line: which runs are the saver's, both dash forms, window
// ids in hex and decimal, the window --root draws into, and a message and exit status 2
// for each bad usage.
#include "app/saver/saver_options.h"
#include "support/command_lines.h"
#include "support/raised.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon {
namespace {

using testing::args;
using testing::raised;
using Target = SaverOptions::Target;

SaverOptions parseSaverArguments(const QStringList& arguments, const QString& xscreensaverWindow) {
    return testing::readOrRaise(arguments, xscreensaverWindow).saverOptions;
}

bool isSaverCommand(const QStringList& arguments) {
    return readCommandLine(arguments).mode.kind == RunKind::Saver;
}

SaverOptions parse(std::initializer_list<const char*> list, const char* env = "") {
    return parseSaverArguments(args(list), QString::fromUtf8(env));
}

TEST(SaverOptionsTest, OneOrTwoDashesAndEveryOption) {
    for (const char* dash : {"-", "--"}) {
        const std::string d(dash);
        const SaverOptions o = parseSaverArguments(
            args({(d + "window-id").c_str(), "0x2A00007", (d + "file").c_str(), "mine.qln",
                  (d + "linger").c_str(), "2.5", (d + "seed").c_str(), "42", (d + "sound").c_str(),
                  (d + "config").c_str(), "x.ini", (d + "color").c_str(), "FFCC00",
                  (d + "background").c_str(), "#102030"}),
            {});
        EXPECT_EQ(o.target, Target::Foreign) << dash;
        EXPECT_EQ(o.windowId, 0x2A00007u) << dash;
        EXPECT_EQ(o.file, QStringLiteral("mine.qln")) << dash;
        EXPECT_EQ(o.holdMs, 2500u) << dash;
        EXPECT_EQ(o.seed, 42u) << dash;
        EXPECT_TRUE(o.sound) << dash;
        EXPECT_EQ(o.style.text, qRgb(255, 204, 0)) << dash;
        EXPECT_EQ(o.style.background, qRgb(16, 32, 48)) << dash;
    }
    // Values also after "=".
    const SaverOptions eq = parse({"--window-id=12345", "-linger=0", "--seed=4294967295"});
    EXPECT_EQ(eq.windowId, 12345u);
    EXPECT_EQ(eq.holdMs, 0u);
    EXPECT_EQ(eq.seed, 4294967295u);

    const SaverOptions plain = parse({"--window"});
    EXPECT_EQ(plain.target, Target::OwnWindow);
    EXPECT_FALSE(plain.holdMs.has_value()); // the card's own hold
    EXPECT_FALSE(plain.seed.has_value());
    EXPECT_FALSE(plain.sound);
    EXPECT_TRUE(plain.style.plain()); // white on black
    // The settings form's 0 is "a new order each time".
    EXPECT_FALSE(parse({"--window", "--seed", "0"}).seed.has_value());
}

TEST(SaverOptionsTest, WindowIdsInHexAndDecimal) {
    EXPECT_EQ(parseWindowId(QStringLiteral("0x1c00003")), 0x1c00003u);
    EXPECT_EQ(parseWindowId(QStringLiteral("0XFFFFFFFF")), 0xFFFFFFFFu);
    EXPECT_EQ(parseWindowId(QStringLiteral("29360131")), 29360131u);
    EXPECT_EQ(parseWindowId(QStringLiteral(" 0x2a\n")), 42u); // as an environment may hold it
    for (const char* bad : {"", "0", "0x0", "0x", "x12", "-5", "+5", "12abc", "0x1g", "1.0",
                            "4294967296", "0x100000000", "99999999999", "１２"})
        EXPECT_FALSE(parseWindowId(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(SaverOptionsTest, RootDrawsIntoTheDaemonsWindowOrAFullScreenOfItsOwn) {
    const SaverOptions hex = parse({"-root"}, "0x3600005");
    EXPECT_EQ(hex.target, Target::Foreign);
    EXPECT_EQ(hex.windowId, 0x3600005u);
    EXPECT_EQ(parse({"--root"}, "56623109").windowId, 56623109u);
    EXPECT_EQ(parse({"--root"}).target, Target::OwnFullScreen);
    EXPECT_EQ(parse({"--root"}, "  ").target, Target::OwnFullScreen);
    // Only --root reads the variable, and an explicit id wins over it.
    EXPECT_EQ(parse({"--window"}, "0x3600005").target, Target::OwnWindow);
    EXPECT_EQ(parse({"--root", "--window-id", "7"}, "0x3600005").windowId, 7u);
    EXPECT_EQ(parse({"--window", "--root"}).target, Target::OwnFullScreen);
    EXPECT_EQ(raised<SaverUsageError>([] { parse({"--root"}, "window"); }),
              QStringLiteral("XSCREENSAVER_WINDOW の window はウィンドウの番号ではありません"));
}

TEST(SaverOptionsTest, EachBadUsageSaysWhatIsWrong) {
    const QString seconds = QStringLiteral("--linger は 0 から 3600 までの秒数です");
    const std::vector<std::pair<QStringList, QString>> cases = {
        {args({"--window-id", "0x"}),
         QStringLiteral("--window-id の 0x はウィンドウの番号ではありません (10進数か、0x "
                        "で始まる16進数)")},
        {args({"--window-id"}), QStringLiteral("--window-id の値がありません")},
        {args({"--root", "--linger"}), QStringLiteral("--linger の値がありません")},
        {args({"--root", "--linger", "-1"}), seconds},
        {args({"--root", "--linger", "3600.5"}), seconds},
        {args({"--root", "--linger", "soon"}), seconds},
        {args({"--root", "--seed", "4294967296"}),
         QStringLiteral("--seed は 0 から 4294967295 までの整数です")},
        {args({"--root", "--file", ""}), QStringLiteral("--file のファイル名がありません")},
        {args({"--root=yes"}), QStringLiteral("--root に値は付けられません")},
        {args({"--root", "--fps", "30"}), QStringLiteral("--fps というオプションはありません")},
        {args({"--root", "extra"}), QStringLiteral("余分な引数があります: extra")},
        {args({"--root", "--color", "red"}),
         QStringLiteral("--color は白なら FFFFFF のように 16進数6桁で指定してください")},
        {args({"--root", "-background", "none.jpg"}),
         QStringLiteral("--background の none.jpg は色 (RRGGBB) でも読める画像でもありません")},
    };
    for (const auto& [arguments, message] : cases)
        EXPECT_EQ(raised<SaverUsageError>([&] { parseSaverArguments(arguments, {}); }), message)
            << arguments.join(u' ').toStdString();
}

TEST(SaverOptionsTest, WhichCommandLinesAreTheSavers) {
    EXPECT_TRUE(isSaverCommand(args({"-root"})));
    EXPECT_TRUE(isSaverCommand(args({"--config", "a.ini", "--window"})));
    EXPECT_TRUE(isSaverCommand(args({"--window-id=0x12"})));
    // The screen-saver switches keep their meaning, whatever follows them.
    EXPECT_FALSE(isSaverCommand(args({"/s", "--root"})));
    EXPECT_FALSE(isSaverCommand(args({"/P", "--window-id", "12"})));
    // Options of the saver without a target are not the saver's.
    EXPECT_FALSE(isSaverCommand(args({"--sound", "--linger", "3"})));
    EXPECT_FALSE(isSaverCommand({}));
}

TEST(SaverOptionsTest, AMalformedIdEndsWithAMessageAndStatus2) {
    FILE* err = tmpfile();
    const CommandLine line = readCommandLine(args({"--window-id", "0xnope"}));
    EXPECT_EQ(line.mode.kind, RunKind::Saver);
    EXPECT_EQ(answerCommandLine(line, stdout, err), 2);
    const std::string text = testing::closedText(err).toStdString();
    EXPECT_NE(text.find("--window-id の 0xnope はウィンドウの番号ではありません"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("使い方: quillon --root"), std::string::npos) << text;
}

} // namespace
} // namespace quillon
