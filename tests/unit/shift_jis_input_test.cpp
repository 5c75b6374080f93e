// What the user types or pastes is what is stored: the JIS forms that Linux input
// methods give are written as code page 932 writes them, no character ever becomes an
// undefined code, the line fields keep out what Shift-JIS cannot hold, and what an input
// method still composes counts as typed when an action reads or clears the lines.
#include "app/main_form.h"
#include "platform/text/sjis.h"
#include "platform/timer/dxtimer.h"
#include "platform/ui/sjis_field.h"
#include "support/program_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

QString character(char32_t code) {
    return QString::fromUcs4(&code, 1);
}

// A key that types text, as a keyboard layout with that character would send it.
void typeKey(QWidget* field, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
}

// Text committed by an input method.
void commitText(QWidget* field, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

// Text an input method shows in the field while it is still being composed.
void compose(QWidget* field, const QString& text) {
    QInputMethodEvent event(text, {});
    QApplication::sendEvent(field, &event);
}

} // namespace

TEST(ShiftJisEncoding, JisFormsGetTheirCodePage932Codes) {
    const struct {
        char32_t jis;
        const char* bytes;
    } forms[] = {{0x301C, "\x81\x60"}, {0x2212, "\x81\x7C"}, {0x2016, "\x81\x61"},
                 {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00AC, "\x81\xCA"},
                 {0x2014, "\x81\x5C"}};
    for (const auto& f : forms) {
        SCOPED_TRACE(uint(f.jis));
        EXPECT_EQ(sjis::fromUnicode(character(f.jis)), QByteArray(f.bytes));
        EXPECT_TRUE(sjis::isRepresentable(character(f.jis)));
    }
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("A〜B")), QByteArray("A\x81\x60"
                                                                    "B"));
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("C−D")), QByteArray("C\x81\x7C"
                                                                   "D"));
}

TEST(ShiftJisEncoding, ACharacterWithoutAFormIsOneQuestionMark) {
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("café")), QByteArray("caf?"));
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("a😀b")), QByteArray("a?b")); // a surrogate pair
    EXPECT_EQ(sjis::fromUnicode(QString(QChar(0xD800)) + u'x'), QByteArray("?x"));
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("é第一話")),
              QByteArray("?\x91\xE6\x88\xEA\x98\x62"));
    EXPECT_FALSE(sjis::isRepresentable(QStringLiteral("ü")));
    EXPECT_FALSE(sjis::isRepresentable(QString(QChar(0xD800)))); // half a pair

    QString leftOut;
    EXPECT_EQ(sjis::representablePart(QStringLiteral("Aé〜😀B"), &leftOut), QStringLiteral("A〜B"));
    EXPECT_EQ(leftOut, QStringLiteral("é😀"));
}

TEST(ShiftJisEncoding, NoCharacterBecomesAnUndefinedCode) {
    // Every character of the basic plane and the first of each other plane: its bytes are
    // a defined Shift-JIS character, or "?" for a character that has no form.
    int withoutForm = 0;
    for (char32_t code = 0; code <= 0x10FFFF; code += code < 0x10000 ? 1 : 0x10000) {
        const QString text = character(code);
        const QByteArray bytes = sjis::fromUnicode(text);
        if (bytes == "?" && code != u'?') {
            EXPECT_FALSE(sjis::isRepresentable(text)) << std::hex << uint(code);
            ++withoutForm;
            continue;
        }
        const QString back = sjis::toUnicode(bytes);
        ASSERT_FALSE(back.contains(QChar(0xFFFD)))
            << std::hex << uint(code) << " gives " << bytes.toHex(' ').constData();
    }
    EXPECT_GT(withoutForm, 40000);
}

class ShiftJisFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 40);
        field = new QLineEdit(&window);
        guardShiftJisField(field);
        window.show();
        QApplication::setActiveWindow(&window);
        field->setFocus();
    }
    AnsweringPrompts fake;
    ScopedServices services{{.prompts = &fake}};
    QWidget window;
    QLineEdit* field = nullptr;
};

TEST_F(ShiftJisFieldTest, ATypedCharacterWithoutAFormIsRefusedWithABeep) {
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("ab"));
    field->setSelection(0, 1);
    typeKey(field, QStringLiteral("é"));
    EXPECT_EQ(field->text(), QStringLiteral("ab")); // the selection is not lost either
    EXPECT_EQ(fake.beeps, 1);
    commitText(field, QStringLiteral("😀"));
    EXPECT_EQ(field->text(), QStringLiteral("ab"));
    EXPECT_EQ(fake.beeps, 2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(fake.reports.isEmpty());
    field->setCursorPosition(1);
    commitText(field, QStringLiteral("〜"));
    EXPECT_EQ(field->text(), QStringLiteral("a〜b"));
    EXPECT_EQ(fake.beeps, 2);
}

TEST_F(ShiftJisFieldTest, APasteKeepsWhatHasAFormAndSaysWhatWasLeftOut) {
    QTest::keyClicks(field, QStringLiteral("[]"));
    field->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("Aé〜😀Bé"));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("[A〜B]"));
    EXPECT_EQ(field->cursorPosition(), 4); // after the pasted text
    EXPECT_EQ(fake.beeps, 0);
    QCoreApplication::processEvents(); // the notice comes after the edit
    ASSERT_EQ(fake.reports.size(), 1);
    EXPECT_EQ(fake.reports[0], QStringLiteral("Shift-JIS で表せない文字「é、😀」を除きました。"));

    // A paste with nothing to keep is refused like a typed character.
    QApplication::clipboard()->setText(QStringLiteral("éü"));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("[A〜B]"));
    EXPECT_EQ(fake.beeps, 1);
}

TEST_F(ShiftJisFieldTest, TheProgramsOwnFillingIsCleanedQuietly) {
    window.setFocus(); // the field is not being edited
    field->setText(sjis::toUnicode(QByteArray("A\x85\x40"
                                              "B"))); // an undefined code read from a file
    EXPECT_EQ(field->text(), QStringLiteral("AB"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(fake.reports.isEmpty());
    EXPECT_EQ(fake.beeps, 0);
    EXPECT_EQ(
        leftOutNotice(QStringLiteral("\u200Baaaabcdefghij")),
        QStringLiteral("Shift-JIS で表せない文字「U+200B、a、b、c、d、e、f、g…」を除きました。"));
}

class PastedSubtitleTest : public ProgramFixture {};

TEST_F(PastedSubtitleTest, JisFormsPastedIntoTheLinesAreSavedAsCodePage932) {
    makeProgram();
    MainForm->show();
    QApplication::setActiveWindow(MainForm);
    const QString qln = dir.filePath(QStringLiteral("new.qln"));
    fake.saveAnswer = qln;
    for (auto [field, text] : {std::pair{MainForm->Edit1, QStringLiteral("A〜B")},
                               std::pair{MainForm->Edit2, QStringLiteral("C−D")}}) {
        field->setFocus();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    MainForm->PencilImageClick();
    EXPECT_EQ(readFile(qln).toHex(' '), QByteArray("41 81 60 42 20 43 81 7c 44 0d 0a"));
    EXPECT_EQ(fake.beeps, 0);
}

TEST_F(PastedSubtitleTest, AnOpenCompositionIsSettledBeforeTheLinesAreReadOrCleared) {
    makeProgram();
    MainForm->show();
    QApplication::setActiveWindow(MainForm);
    TMainForm& form = *MainForm;
    const QString qln = dir.filePath(QStringLiteral("new.qln"));
    fake.saveAnswer = qln;

    // The pencil saves the committed part and the composition after it as one line 1.
    form.Edit1->setFocus();
    commitText(form.Edit1, QStringLiteral("第"));
    compose(form.Edit1, QStringLiteral("一話"));
    ASSERT_EQ(form.Edit1->text(), QStringLiteral("第"));
    ASSERT_TRUE(hasOpenComposition(form.Edit1));
    form.PencilImageClick();
    EXPECT_EQ(readFile(qln), sjis::fromUnicode(QStringLiteral("第一話 \r\n")));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("第一話"));
    EXPECT_FALSE(hasOpenComposition(form.Edit1));

    // A composition alone in line 2 is text to erase, not empty lines to restore; it is
    // erased once and comes back once.
    form.Edit1->clear();
    form.Edit2->setFocus();
    compose(form.Edit2, QStringLiteral("二"));
    form.ErasorImageClick();
    EXPECT_TRUE(form.Edit2->text().isEmpty());
    EXPECT_EQ(form.ErasedLine2, sjis::fromUnicode(QStringLiteral("二")));
    EXPECT_FALSE(hasOpenComposition(form.Edit2));
    form.ErasorImageClick();
    EXPECT_EQ(form.Edit2->text(), QStringLiteral("二"));

    // The die's title is not followed by the composition it replaced.
    compose(form.Edit2, QStringLiteral("ごみ"));
    form.DiceImageClick();
    EXPECT_FALSE(hasOpenComposition(form.Edit2));
    EXPECT_FALSE(form.Edit1->text().isEmpty());
    EXPECT_FALSE(form.Edit2->text().contains(QStringLiteral("ごみ")));

    // A click in the field commits the composition, once.
    form.Edit1->clear();
    form.Edit1->setFocus();
    compose(form.Edit1, QStringLiteral("話"));
    QTest::mouseClick(form.Edit1, Qt::LeftButton);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("話"));
    EXPECT_FALSE(hasOpenComposition(form.Edit1));

    // Run with a line 1 that is all composition runs it, not a random title; the click
    // has taken the focus from the field by then.
    form.Edit1->clear();
    form.Edit2->clear();
    form.Edit1->setFocus();
    compose(form.Edit1, QStringLiteral("最終回"));
    QTest::mouseClick(form.RunButton, Qt::LeftButton);
    ASSERT_TRUE(DispForm->isVisible());
    EXPECT_EQ(DispForm->card().Line1(), sjis::fromUnicode(QStringLiteral("最終回")));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("最終回"));
    EXPECT_FALSE(hasOpenComposition(form.Edit1));
    DispForm->DXTimer->setEnabled(false);
    DispForm->hide();
}
