// When the desktop is asked not to blank the screen: while a card is on the screen, and
// never when the program runs as a screen saver or exports.
#include "app/command_line.h"
#include "platform/desktop/screen_inhibitor.h"
#include "presentation/disp_form.h"
#include "support/card_doubles.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

QStringList commandLine(std::initializer_list<const char*> arguments) {
    QStringList list;
    for (const char* a : arguments)
        list.append(QString::fromUtf8(a));
    return list;
}

class CountingInhibitor : public ScreenInhibitor {
public:
    void inhibit() override { ++inhibits; }
    void release() override { ++releases; }
    int inhibits = 0;
    int releases = 0;
};

} // namespace

TEST(ScreenInhibitorWanted, NotForTheSaverSwitchesInEitherFormNorForAnExport) {
    for (const auto& args :
         {commandLine({"/s"}), commandLine({"/P", "1234"}), commandLine({"--root"}),
          commandLine({"-root", "--sound"}), commandLine({"--linger", "3", "--window-id", "0x2a"}),
          commandLine({"-window-id", "42"}), commandLine({"--window"}),
          commandLine({"--export", "card.png", "A"}), commandLine({"A", "--export", "card.png"})})
        EXPECT_FALSE(readCommandLine(args).mode.keepsScreenAwake())
            << args.join(u' ').toStdString();
    for (const auto& args : {commandLine({}), commandLine({"/C"}), commandLine({"--config", "/S"}),
                             commandLine({"root"}), commandLine({"-export", "card.mp4", "A"})}) {
        const CommandLine line = readCommandLine(args);
        EXPECT_FALSE(line.problem) << args.join(u' ').toStdString();
        EXPECT_TRUE(line.mode.keepsScreenAwake()) << args.join(u' ').toStdString();
    }
    // Near misses of the saver's switches are no saver, but options nobody has.
    for (const auto& args : {commandLine({"---root"}), commandLine({"--windows"})}) {
        const CommandLine line = readCommandLine(args);
        EXPECT_EQ(line.mode.kind, RunKind::Normal) << args.join(u' ').toStdString();
        EXPECT_TRUE(line.problem) << args.join(u' ').toStdString();
    }
}

TEST(ScreenInhibitorOfACard, AskedWhenTheCardTakesTheScreenAndGivenBackWhenItCloses) {
    CountingInhibitor inhibitor;
    quillon::testing::FixedSettings settings;
    auto* form = new TDispForm(settings);
    form->setScreenInhibitor(&inhibitor);

    form->RunQuillon("AB", "");
    EXPECT_EQ(inhibitor.inhibits, 1);
    EXPECT_EQ(inhibitor.releases, 0);
    form->FormClose();
    EXPECT_EQ(inhibitor.releases, 1);
    // The program ending with a card on the screen gives it back as well.
    form->RunQuillon("CD", "");
    delete form;
    EXPECT_EQ(inhibitor.inhibits, 2);
    EXPECT_EQ(inhibitor.releases, 2);
}
