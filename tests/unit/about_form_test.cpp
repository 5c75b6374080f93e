// The about box: its window, its ways of closing, and the credits card of its emblem.
#include "platform/text/sjis.h"
#include "platform/ui/picture_button.h"
#include "support/program_fixture.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

class AboutBox : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        makeProgram();
    }
    void TearDown() override {
        if (DispForm->isVisible())
            DispForm->FormClose();
        AboutForm->hide();
        ProgramFixture::TearDown();
    }

    // Opens the box the way the main window does and runs check inside its modal loop;
    // the box is closed afterwards whatever check did.
    void whileOpen(const std::function<void()>& check) {
        MainForm->hide();
        QTimer::singleShot(0, AboutForm, [&] {
            check();
            if (AboutForm->isVisible())
                AboutForm->close();
        });
        AboutForm->exec();
    }
};

} // namespace

TEST_F(AboutBox, Window) {
    EXPECT_EQ(AboutForm->windowTitle(), QStringLiteral("情報"));
    EXPECT_EQ(AboutForm->size(), QSize(294, 121));
    EXPECT_EQ(AboutForm->minimumSize(), AboutForm->maximumSize());
    EXPECT_TRUE(AboutForm->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(AboutForm->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(AboutForm->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(AboutForm->OkButton->text(), QStringLiteral("OK"));
    EXPECT_TRUE(AboutForm->OkButton->isDefault());
    EXPECT_EQ(AboutForm->OkButton->geometry(), QRect(110, 88, 75, 25));
    EXPECT_EQ(AboutForm->EmblemFrame->geometry(), QRect(8, 8, 73, 73));
    EXPECT_EQ(AboutForm->AboutImage->geometry(), QRect(4, 4, 65, 65));
    EXPECT_EQ(AboutForm->EmblemFrame->frameWidth(), 4);
    // The copyright line is also line 2 of a card, so it must be Shift-JIS text.
    EXPECT_TRUE(sjis::isRepresentable(AboutForm->CopyrightLabel->text()));
    EXPECT_EQ(sjis::toUnicode(AboutForm->copyrightLine()), AboutForm->CopyrightLabel->text());
}

TEST_F(AboutBox, EscDoesNothingEnterAndCloseBoxClose) {
    whileOpen([this] {
        QTest::keyClick(AboutForm, Qt::Key_Escape);
        EXPECT_TRUE(AboutForm->isVisible());
        EXPECT_FALSE(MainForm->isVisible());
        QTest::keyClick(AboutForm->OkButton, Qt::Key_Return);
        EXPECT_FALSE(AboutForm->isVisible());
        EXPECT_TRUE(MainForm->isVisible());
    });
    whileOpen([this] {
        AboutForm->close(); // the close box
        EXPECT_FALSE(AboutForm->isVisible());
        EXPECT_TRUE(MainForm->isVisible());
    });
}

TEST_F(AboutBox, EmblemStagesTheCreditsCardAboveTheOpenBox) {
    whileOpen([this] {
        QTest::mouseDClick(AboutForm->AboutImage, Qt::LeftButton);
        EXPECT_EQ(DispForm->card().Line1(), QByteArray("Quillon for DirectX"));
        EXPECT_EQ(DispForm->card().Line2(), AboutForm->copyrightLine());
        EXPECT_TRUE(DispForm->isVisible());
        // The card takes the input that dismisses it, not the box under it.
        EXPECT_EQ(QApplication::activeModalWidget(), DispForm);

        DispForm->FormClose();
        EXPECT_FALSE(DispForm->isVisible());
        EXPECT_TRUE(AboutForm->isVisible());
        EXPECT_FALSE(MainForm->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), AboutForm);
    });
    // Cards from the main window later are ordinary windows again.
    DispForm->RunQuillon(QByteArray("A"), QByteArray());
    EXPECT_EQ(DispForm->windowModality(), Qt::NonModal);
    DispForm->FormClose();
}

TEST(AboutBoxAlone, TalksOnlyThroughWhatItIsGiven) {
    TAboutForm box;
    int cues = 0, shown = 0;
    QByteArray line1, line2;
    box.clickCue = [&] { ++cues; };
    box.showMainWindow = [&] { ++shown; };
    box.runCard = [&](const QByteArray& a, const QByteArray& b) {
        line1 = a;
        line2 = b;
    };
    box.AboutImageDblClick();
    EXPECT_EQ(line1, QByteArray("Quillon for DirectX"));
    EXPECT_EQ(line2, box.copyrightLine());
    EXPECT_EQ(cues, 1);
    box.show();
    box.OkButtonClick(); // the button's cue and the closing's
    EXPECT_EQ(cues, 3);
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(box.isVisible());
}
