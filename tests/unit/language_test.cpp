// The interface's language: which one the locale and --lang choose, and that the English
// translation is whole: every entry finished, and no Japanese left in any window.
#include "platform/ui/translations.h"
#include "support/command_lines.h"
#include "support/modal_script.h"
#include "support/program_fixture.h"
#include "support/raised.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QXmlStreamReader>
#include <string>

namespace quillon {
namespace {

using testing::ModalScript;
using testing::ProgramFixture;

bool hasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // Kana, kanji, CJK punctuation and the full-width forms.
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

TEST(LanguageTest, TheLocaleAndTheOptionChooseTheLanguage) {
    using L = UiLanguage;
    EXPECT_EQ(languageForLocale({"ja-JP"}), L::Japanese);
    EXPECT_EQ(languageForLocale({"ja", "en-US"}), L::Japanese);
    EXPECT_EQ(languageForLocale({"C"}), L::Japanese);
    EXPECT_EQ(languageForLocale({}), L::Japanese);
    EXPECT_EQ(languageForLocale({"en-US", "en"}), L::English);
    EXPECT_EQ(languageForLocale({"de-DE", "ja-JP"}), L::English); // the first one counts
    EXPECT_EQ(languageForLocale({"zh-CN"}), L::English);

    QStringList both = testing::args({"--lang", "en", "/S", "--lang=ja"});
    EXPECT_EQ(takeLanguage(both), L::Japanese); // the last one counts
    // The switches that must come first still do.
    EXPECT_EQ(both, QStringList({"/S"}));

    QStringList none = testing::args({"--export", "card.png", "A"});
    EXPECT_FALSE(takeLanguage(none));
    EXPECT_EQ(none, QStringList({"--export", "card.png", "A"}));

    for (const auto& bad :
         {testing::args({"--lang"}), testing::args({"--lang", "de"}), testing::args({"--lang="})}) {
        QStringList arguments = bad;
        EXPECT_EQ(testing::raised<UsageError>([&] { takeLanguage(arguments); }),
                  QStringLiteral("--lang takes ja or en"))
            << bad.join(u' ').toStdString();
    }
}

// Every entry of the English translation is finished, and no Japanese is left in it.
TEST(LanguageTest, EveryEnglishEntryIsFinished) {
    QFile file(QStringLiteral(QUILLON_SOURCE_DIR "/translations/quillon_en.ts"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int entries = 0;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++entries;
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText();
            EXPECT_TRUE(type.isEmpty()) << type.toStdString() << ": " << source.toStdString();
            EXPECT_FALSE(text.isEmpty()) << source.toStdString();
            EXPECT_FALSE(hasJapanese(text)) << text.toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(entries, 100);
}

class EnglishWindowsTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        useLanguage(UiLanguage::English);
    }
    void TearDown() override {
        ProgramFixture::TearDown();
        useLanguage(UiLanguage::Japanese);
    }

    // Every text a window shows of its own, with the widget it belongs to.
    static std::string japaneseTexts(QWidget& window, const QList<QWidget*>& allowed) {
        QStringList found;
        const auto check = [&found](const QObject& owner, const QString& text) {
            if (hasJapanese(text))
                found.append(owner.objectName() + QStringLiteral(": ") + text);
        };
        check(window, window.windowTitle());
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (allowed.contains(w) || allowed.contains(w->parentWidget()))
                continue;
            check(*w, w->windowTitle());
            check(*w, w->property("hint").toString());
            if (auto* label = qobject_cast<QLabel*>(w))
                check(*w, label->text());
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                check(*w, button->text());
            if (auto* group = qobject_cast<QGroupBox*>(w))
                check(*w, group->title());
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
                check(*w, combo->lineEdit()->text()); // the items are the catalogue's
            else if (auto* edit = qobject_cast<QLineEdit*>(w);
                     edit && !edit->parentWidget()->inherits("QComboBox"))
                check(*w, edit->text());
            for (QAction* action : w->actions())
                check(*action, action->text());
        }
        for (QAction* action : window.actions())
            check(*action, action->text());
        return found.join(QStringLiteral("; ")).toStdString();
    }
};

TEST_F(EnglishWindowsTest, NoJapaneseIsLeftInTheWindowsOrTheirQuestions) {
    makeProgram();
    // The font button shows the face the user chose, which may well be Japanese.
    EXPECT_EQ(japaneseTexts(*MainForm, {}), "");
    EXPECT_EQ(japaneseTexts(*OptionForm, {static_cast<QWidget*>(OptionForm->FontButton)}), "");
    EXPECT_EQ(japaneseTexts(*AboutForm, {}), "");
    EXPECT_EQ(MainForm->RunButton->text(), QStringLiteral("Run"));
    EXPECT_EQ(OptionForm->windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(AboutForm->windowTitle(), QStringLiteral("About"));

    // The pencil without a file asks in English; the subtitle itself stays as typed.
    fake.yes = false;
    MainForm->Edit1->setText(QStringLiteral("星の記憶"));
    MainForm->PencilImageClick();
    ASSERT_EQ(fake.questions.size(), 1);
    EXPECT_EQ(fake.questions[0], QStringLiteral("There is no User's File.\nCreate one?"));
    EXPECT_EQ(MainForm->Edit1->text(), QStringLiteral("星の記憶"));
}

// The real boxes: the confirmation box's title and buttons, the error box's caption.
TEST_F(EnglishWindowsTest, TheConfirmationBoxIsEnglishAndTheErrorBoxKeepsItsCaption) {
    WidgetPrompts real;
    QString title;
    QStringList buttons;
    ModalScript script;
    script.then<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            buttons.append(b->text());
        box->escapeButton()->click();
    });
    EXPECT_FALSE(real.askYesNo(nullptr, QStringLiteral("?")));
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(title, QStringLiteral("Confirm"));
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"&No", "&Yes"}));

    // The general error box keeps the program's name in every language.
    ModalScript error;
    error.then<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    real.showError(nullptr, QStringLiteral("x"));
    ASSERT_TRUE(error.finished());
    EXPECT_EQ(title, QStringLiteral("Quillon for DirectX"));
}

} // namespace
} // namespace quillon
