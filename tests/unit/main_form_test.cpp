// The main window as a user meets it: captions, tab order, Enter and Esc, the eraser,
// Run with and without a line 1, Enter in a list's field, and the item-to-lines rule.
#include "platform/text/sjis.h"
#include "platform/timer/dxtimer.h"
#include "platform/timer/idle_slot.h"
#include "subtitles/catalogue.h"
#include "subtitles/subtitle_combo.h"
#include "support/program_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

class MainFormTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        makeProgram();
        MainForm->show();
    }
    void stopCard() {
        DispForm->DXTimer->setEnabled(false);
        DispForm->hide();
    }
};

TEST_F(MainFormTest, CaptionsAndTabOrder) {
    EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Quillon for DirectX"));
    EXPECT_EQ(MainForm->size(), QSize(277, 225));
    EXPECT_EQ(MainForm->Label1->text(), QStringLiteral("サブタイトルを入力せよ。"));
    EXPECT_EQ(MainForm->Label2->text(), QStringLiteral("１行目"));
    EXPECT_EQ(MainForm->Label3->text(), QStringLiteral("(２行目)"));
    EXPECT_EQ(MainForm->RunButton->text(), QStringLiteral("起動"));
    EXPECT_EQ(MainForm->TsrButton->text(), QStringLiteral("終了"));
    EXPECT_EQ(MainForm->OptionButton->text(), QStringLiteral("設定"));
    EXPECT_EQ(MainForm->AboutButton->text(), QStringLiteral("情報"));
    EXPECT_EQ(MainForm->ComboBox1->text(), QStringLiteral("　↓　オリジナルサブタイトルの一覧"));
    EXPECT_EQ(MainForm->ComboBox2->text(), QStringLiteral("　↓　ユーザー定義サブタイトル一覧"));
    EXPECT_TRUE(MainForm->RunButton->isDefault());
    EXPECT_FALSE(MainForm->ComboBox2->isEnabled());
    // Hints are kept with the controls but never shown.
    EXPECT_EQ(MainForm->RunButton->property("hint").toString(),
              QStringLiteral("サブタイトル表示を始めます"));
    EXPECT_TRUE(MainForm->RunButton->toolTip().isEmpty());

    const std::vector<QWidget*> order = {
        MainForm->RunButton, MainForm->Edit1,       MainForm->Edit2,        MainForm->ComboBox1,
        MainForm->ComboBox2, MainForm->AboutButton, MainForm->OptionButton, MainForm->TsrButton};
    QWidget* w = order.front();
    for (size_t i = 1; i < order.size(); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy());
        EXPECT_EQ(w, order[i]) << "tab stop " << i;
    }
}

TEST_F(MainFormTest, EnterRunsTheTypedSubtitleAndKeepsTheFields) {
    MainForm->Edit1->setText(QStringLiteral("第一話"));
    MainForm->Edit2->setText(QStringLiteral("はじまり"));
    MainForm->Edit1->setFocus();
    QTest::keyClick(MainForm->Edit1, Qt::Key_Return);
    EXPECT_TRUE(DispForm->isVisible());
    EXPECT_EQ(DispForm->card().Line1(), sjis::fromUnicode(QStringLiteral("第一話")));
    EXPECT_EQ(DispForm->card().Line2(), sjis::fromUnicode(QStringLiteral("はじまり")));
    EXPECT_EQ(MainForm->Edit1->text(), QStringLiteral("第一話"));
    EXPECT_EQ(MainForm->Edit2->text(), QStringLiteral("はじまり"));
    EXPECT_TRUE(MainForm->isVisible()); // the main window is not hidden under the card
    stopCard();

    // In a list's text field Enter is Run too, and the typed letters stay as typed: with
    // line 1 empty a random card, the fields empty again.
    MainForm->Edit1->clear();
    const QString title = sjis::toUnicode(catalogueTitles(1).first());
    QLineEdit* field = MainForm->ComboBox1->lineEdit();
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    field->setFocus();
    field->clear();
    for (const QChar c : title.left(2))
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_EQ(field->text(), title.left(2));
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty()); // no item has that text
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(DispForm->isVisible());
    EXPECT_FALSE(DispForm->card().Line1().isEmpty());
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    EXPECT_TRUE(MainForm->Edit2->text().isEmpty());
    EXPECT_EQ(field->text(), title.left(2));
    stopCard();
}

TEST_F(MainFormTest, RunWithAnEmptyLine1TakesARandomTitleAndEmptiesTheFields) {
    MainForm->Edit2->setText(QStringLiteral("無視される"));
    QTest::mouseClick(MainForm->RunButton, Qt::LeftButton);
    EXPECT_TRUE(DispForm->isVisible());
    EXPECT_FALSE(
        DispForm->card().Line1().isEmpty()); // a catalogue title (DiceMode 1 with no user file)
    EXPECT_NE(DispForm->card().Line2(), sjis::fromUnicode(QStringLiteral("無視される")));
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    EXPECT_TRUE(MainForm->Edit2->text().isEmpty());
    stopCard();
}

TEST_F(MainFormTest, ScreenSaverPaintStartsARandomCardUnlessOneIsShowing) {
    environment.mode.kind = RunKind::ScreenSaver;
    MainForm->Edit1->setText(QStringLiteral("消される"));
    MainForm->FormPaint();
    ASSERT_TRUE(DispForm->isVisible());
    const QByteArray first = DispForm->card().Line1();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    clock.advance(1500);
    IdleSlot::instance().runIdle(); // the first character
    MainForm->FormPaint();          // the card is on the screen: no new card
    EXPECT_EQ(DispForm->card().TypePos(), 3);
    stopCard();
    MainForm->FormPaint(); // dismissed: the next random card
    EXPECT_TRUE(DispForm->isVisible());
    EXPECT_EQ(DispForm->card().TypePos(), 1);
    stopCard();
}

TEST_F(MainFormTest, EscEndsTheProgramWithoutAsking) {
    QTest::keyClick(MainForm, Qt::Key_Escape);
    EXPECT_FALSE(MainForm->isVisible());
}

TEST_F(MainFormTest, EraserTogglesWithAOneStepUndo) {
    MainForm->ErasorImageClick(); // nothing erased yet: restoring changes nothing
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    EXPECT_TRUE(MainForm->Edit2->text().isEmpty());

    MainForm->Edit1->setText(QStringLiteral("一"));
    MainForm->Edit2->setText(QStringLiteral("二"));
    MainForm->ErasorImageClick();
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    EXPECT_TRUE(MainForm->Edit2->text().isEmpty());
    MainForm->ErasorImageClick();
    EXPECT_EQ(MainForm->Edit1->text(), QStringLiteral("一"));
    EXPECT_EQ(MainForm->Edit2->text(), QStringLiteral("二"));

    MainForm->Edit1->clear(); // text in line 2 alone still erases both
    MainForm->ErasorImageClick();
    EXPECT_TRUE(MainForm->Edit2->text().isEmpty());
    MainForm->ErasorImageClick();
    EXPECT_TRUE(MainForm->Edit1->text().isEmpty());
    EXPECT_EQ(MainForm->Edit2->text(), QStringLiteral("二"));
}

TEST_F(MainFormTest, ItemToLinesSplitsAtTheFirstSpace) {
    struct Case {
        const char* item;
        const char* line1;
        const char* line2;
    };
    const Case cases[] = {{"AB CD", "AB", "CD"},       {"AB", "AB", ""},   {"AB ", "AB", ""},
                          {"AB CD EF", "AB", "CD EF"}, {" AB", " AB", ""}, {"", "", ""}};
    QList<QByteArray> items;
    for (const Case& c : cases)
        items.append(QByteArray(c.item));
    MainForm->ComboBox2->setItems(items);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        MainForm->GetComboString(2, i);
        EXPECT_EQ(MainForm->line1(), QByteArray(cases[i].line1)) << cases[i].item;
        EXPECT_EQ(MainForm->line2(), QByteArray(cases[i].line2)) << cases[i].item;
    }
    MainForm->GetComboString(2, -1);
    EXPECT_TRUE(MainForm->line1().isEmpty());
    MainForm->GetComboString(3, 0); // no such list
    EXPECT_TRUE(MainForm->line1().isEmpty());
    MainForm->ComboBox2->setItems({QByteArray(4096, 'A')}); // past the item buffer
    MainForm->GetComboString(2, 0);
    EXPECT_TRUE(MainForm->line1().isEmpty());
}

TEST_F(MainFormTest, TypingIntoAListSelectsTheMatchingItemOrNone) {
    MainForm->ComboBox1->setItems(
        {sjis::fromUnicode(QStringLiteral("甲 乙")), QByteArray("AB CD")});
    MainForm->ComboBox1->lineEdit()->clear();
    QTest::keyClicks(MainForm->ComboBox1->lineEdit(), QStringLiteral("AB CD"));
    EXPECT_EQ(MainForm->ComboBox1->itemIndex(), 1);
    EXPECT_EQ(MainForm->line1(), QByteArray("AB"));
    QTest::keyClicks(MainForm->ComboBox1->lineEdit(), QStringLiteral("X"));
    EXPECT_EQ(MainForm->ComboBox1->itemIndex(), -1);
    EXPECT_TRUE(MainForm->line1().isEmpty());
    EXPECT_TRUE(MainForm->line2().isEmpty());
}

} // namespace
