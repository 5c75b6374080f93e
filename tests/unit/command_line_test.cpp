// The table of ways to start and their options: the usage names every option accepted
// and no other, in both languages, and so do the manual pages; --help and --version answer on
// standard output; an unknown option is refused with the usage; the first argument decides for /S
// and /P.
#include "support/command_lines.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::args;

// The options a usage text names, sorted.
QStringList optionsIn(const QString& text) {
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z-]*"));
    QStringList names;
    for (const QRegularExpressionMatch& m : option.globalMatch(text))
        if (!names.contains(m.captured()))
            names << m.captured();
    names.sort();
    return names;
}

QString noSuchOption(const QString& name) {
    return formatMessage(
        QCoreApplication::translate("CommandLine", "%s というオプションはありません"), {name});
}

// What the program answers to a command line: its status, and what went to standard
// output and to standard error.
struct Answer {
    std::optional<int> status;
    QString out;
    QString err;
};

Answer answer(const QStringList& arguments) {
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    Answer a;
    a.status = answerCommandLine(readCommandLine(arguments), out, err);
    a.out = testing::closedText(out);
    a.err = testing::closedText(err);
    return a;
}

TEST(CommandLineTest, TheUsageNamesEveryOptionAcceptedAndNoOtherInBothLanguages) {
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        useLanguage(language);
        QStringList all = acceptedOptions(RunKind::Help);
        all.sort();
        EXPECT_EQ(optionsIn(usage()), all);
        // What a way of starting names in its usage it takes (whatever it says of the
        // value "x"), and it takes nothing else but what every way does.
        const QStringList everywhere = optionsIn(usage()).filter(
            QRegularExpression(QStringLiteral("^--(help|version|lang)$")));
        const std::pair<RunKind, QStringList> starts[] = {
            {RunKind::Normal, {}},
            {RunKind::Saver, args({"--window"})},
            {RunKind::Export, args({"--export", "a.mp4"})},
        };
        for (const auto& [kind, start] : starts) {
            const QStringList named =
                kind == RunKind::Normal ? QStringList{"--config"} : optionsIn(usage(kind));
            const QStringList accepted = acceptedOptions(kind);
            for (const QString& name : named) {
                EXPECT_TRUE(accepted.contains(name)) << name.toStdString();
                const CommandLine line = readCommandLine(start + QStringList{name, "x"});
                EXPECT_NE(line.problem.value_or(QString()), noSuchOption(name))
                    << name.toStdString();
            }
            for (const QString& name : accepted)
                EXPECT_TRUE(named.contains(name) || everywhere.contains(name))
                    << name.toStdString();
        }
    }
    useLanguage(UiLanguage::Japanese);
    // The manual pages, English and Japanese, list them all as well.
    for (const char* page : {"quillon.6", "quillon.ja.6"}) {
        QFile file(QStringLiteral(QUILLON_SOURCE_DIR "/packaging/") + QLatin1String(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        const QString roff = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), "-");
        for (const QString& name : acceptedOptions(RunKind::Help))
            EXPECT_TRUE(roff.contains(name)) << page << ": " << name.toStdString();
    }
}

TEST(CommandLineTest, HelpAndVersionAnswerOnStandardOutputAndUnknownOptionsWithTheUsage) {
    for (const QStringList& help : {args({"--help"}), args({"--export", "a.mp4", "--help"}),
                                    args({"-help", "--bogus"}), args({"--window", "--help"})}) {
        const Answer a = answer(help);
        EXPECT_EQ(a.status, 0) << help.join(u' ').toStdString();
        EXPECT_EQ(a.out, usage() + u'\n');
        EXPECT_EQ(a.err, QString());
    }
    const Answer version = answer(args({"--version"}));
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("quillon 1."))) << version.out.toStdString();

    const Answer bogus = answer(args({"--bogus"}));
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.out, QString());
    EXPECT_EQ(bogus.err,
              QStringLiteral("quillon: --bogus というオプションはありません\n") + usage() + u'\n');
    // An option of another way of starting says which.
    EXPECT_TRUE(answer(args({"--sound"}))
                    .err.startsWith(QStringLiteral(
                        "quillon: --sound は --root | --window-id | --window と一緒に使います\n")));
    EXPECT_TRUE(
        answer(args({"--size", "8x8"}))
            .err.startsWith(QStringLiteral("quillon: --size は --export と一緒に使います")));
    // A run is no answer: what else there is belongs to the toolkit, or to nobody.
    for (const QStringList& run :
         {args({}), args({"-platform", "xcb"}), args({"/C", "extra"}), args({"/s", "--help"})})
        EXPECT_EQ(answer(run).status, std::nullopt) << run.join(u' ').toStdString();
}

TEST(CommandLineTest, TheFirstArgumentDecidesForTheScreenSaverSwitchesInEitherCase) {
    // The window that comes with /P, if any: the cards play inside it.
    struct Case {
        QStringList arguments;
        RunKind kind;
        uint32_t window = 0;
    };
    const Case cases[] = {
        {args({"/S"}), RunKind::ScreenSaver},
        {args({"/s", "--root", "--bogus"}), RunKind::ScreenSaver},
        {args({"/S", "1234"}), RunKind::ScreenSaver},
        {args({"/P"}), RunKind::Preview},
        {args({"/p", "1234"}), RunKind::Saver, 1234},
        {args({"/p:1234"}), RunKind::Saver, 1234},
        {args({"/P", "0x4D2", "--sound", "--config", "a.ini"}), RunKind::Saver, 1234},
        {args({"/P", "--window-id", "12"}), RunKind::Preview},
        {args({"/P", "0"}), RunKind::Preview},
        {args({"/P", "-5"}), RunKind::Preview},
        {args({"/P", "4294967296"}), RunKind::Preview},
        {args({"/P:"}), RunKind::Preview},
        {args({"/C"}), RunKind::Normal},
        {args({"/C:1234"}), RunKind::Normal},
        {args({"/SS"}), RunKind::Normal},
        {args({"x", "/S"}), RunKind::Normal},
        {args({"x", "/P", "1234"}), RunKind::Normal},
        {args({"--config", "a.ini", "/S"}), RunKind::Normal},
        {args({"--config", "a.ini", "--window"}), RunKind::Saver},
        {args({"--sound", "-root"}), RunKind::Saver},
        {args({"--window-id=0x12"}), RunKind::Saver, 0x12},
        {args({"--export=c.mp4", "x"}), RunKind::Export},
        {args({"--export", "c.mp4", "--root"}), RunKind::Export}, // then refused
    };
    for (const Case& c : cases) {
        const std::string shown = c.arguments.join(u' ').toStdString();
        const CommandLine line = readCommandLine(c.arguments);
        EXPECT_EQ(line.mode.kind, c.kind) << shown;
        EXPECT_EQ(line.problem.has_value(),
                  c.arguments.contains(QStringLiteral("--root")) && c.kind == RunKind::Export)
            << shown;
        const bool foreign = line.saverOptions.target == SaverOptions::Target::Foreign;
        EXPECT_EQ(foreign ? line.saverOptions.windowId : 0, c.window) << shown;
        // A preview is silent whatever else the line holds, and keeps the settings file.
        if (c.arguments.first().startsWith(u'/')) {
            EXPECT_FALSE(line.saverOptions.sound) << shown;
            EXPECT_EQ(line.mode.configFile, c.arguments.contains(QStringLiteral("a.ini"))
                                                ? QStringLiteral("a.ini")
                                                : QString())
                << shown;
        }
    }
}

} // namespace
} // namespace quillon
