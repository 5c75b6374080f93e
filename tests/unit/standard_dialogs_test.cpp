// The real choosers, driven for real: they speak Japanese, the font chooser
// opens on the face in use and OK keeps its stored name, and the save chooser asks
// before it replaces a file.
#include "platform/text/sjis.h"
#include "platform/ui/face_chooser.h"
#include "platform/ui/fonts.h"
#include "platform/ui/prompts.h"
#include "settings/option_form.h"
#include "support/modal_script.h"
#include "support/program_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

QString translated(const char* context, const char* text) {
    return QCoreApplication::translate(context, text);
}

QAbstractButton* standardButton(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    auto* box = dialog->findChild<QDialogButtonBox*>();
    return box ? box->button(which) : nullptr;
}

// The settings dialog with the real choosers (the boxes stay answered by the fake).
class RealFontChooser : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        makeProgram();
        realChoosers.emplace(Services{.prompts = &widgetPrompts});
    }
    void TearDown() override {
        realChoosers.reset();
        ProgramFixture::TearDown();
    }
    WidgetPrompts widgetPrompts;
    std::optional<ScopedServices> realChoosers;

    QByteArray storedName() {
        const QByteArray file = readFile(ini());
        const qsizetype at = file.indexOf("Name=");
        return at < 0 ? QByteArray() : file.mid(at + 5, file.indexOf('\r', at) - at - 5);
    }
};

} // namespace

TEST_F(RealFontChooser, OpensOnTheSubstitutedFaceInJapaneseAndOkKeepsTheStoredName) {
    const QString mincho = installedFamily(QStringLiteral("ＭＳ 明朝"));
    ASSERT_TRUE(mincho.startsWith(QStringLiteral("IPA"))) << mincho.toStdString();
    QString title, family, cancel;
    ModalScript script;
    script.then<FaceChooser>([&](FaceChooser* dialog) {
        title = dialog->windowTitle();
        family = dialog->currentFont().family();
        cancel = standardButton(dialog, QDialogButtonBox::Cancel)->text();
        standardButton(dialog, QDialogButtonBox::Ok)->click();
    });
    OptionForm->FontButtonClick();
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(title, translated("QFontDialog", "Select Font"));
    EXPECT_NE(title, QStringLiteral("Select Font"));
    EXPECT_EQ(cancel, QStringLiteral("キャンセル"));
    EXPECT_EQ(family, mincho);

    EXPECT_EQ(OptionForm->FontButton->text(), QStringLiteral("ＭＳ 明朝"));
    OptionForm->OkButtonClick();
    EXPECT_EQ(storedName(), sjis::fromUnicode(QStringLiteral("ＭＳ 明朝")));
}

TEST_F(RealFontChooser, AnotherFamilyIsTakenAndCancelChangesNothing) {
    const QString gothic = installedFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    ModalScript script;
    script
        .then<FaceChooser>([&](FaceChooser* dialog) {
            dialog->setCurrentFont(QFont(gothic));
            standardButton(dialog, QDialogButtonBox::Ok)->click();
        })
        .then<FaceChooser>([&](FaceChooser* dialog) {
            // It opens on the face just chosen; a cancel leaves it.
            EXPECT_EQ(dialog->currentFont().family(), gothic);
            dialog->setCurrentFont(QFont(installedFamily(QStringLiteral("ＭＳ 明朝"))));
            standardButton(dialog, QDialogButtonBox::Cancel)->click();
        });
    OptionForm->FontButtonClick();
    OptionForm->FontButtonClick();
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(OptionForm->FontButton->text(), gothic);
    OptionForm->OkButtonClick();
    EXPECT_EQ(storedName(), sjis::fromUnicode(gothic));
}

TEST_F(RealFontChooser, OffersTheFaceOnlyAtNinePoints) {
    // However the stored font is styled and sized, the chooser has one list (the faces,
    // all scalable, no symbol sets), no style or size list and no effects, and what it
    // gives back is a plain face at 9 points.
    QStringList faces;
    int lists = -1, boxes = -1, combos = -1, spins = -1;
    QFont sample, chosen;
    ModalScript script;
    script.then<FaceChooser>([&](FaceChooser* dialog) {
        faces = dialog->faces();
        lists = int(dialog->findChildren<QListWidget*>().size());
        boxes = int(dialog->findChildren<QCheckBox*>().size());
        combos = int(dialog->findChildren<QComboBox*>().size());
        spins = int(dialog->findChildren<QSpinBox*>().size());
        dialog->setCurrentFont(QFont(installedFamily(QStringLiteral("ＭＳ Ｐゴシック"))));
        chosen = dialog->currentFont();
        standardButton(dialog, QDialogButtonBox::Ok)->click();
    });
    QFont stored(installedFamily(QStringLiteral("ＭＳ 明朝")), 30, QFont::Bold, true);
    stored.setUnderline(true);
    ASSERT_TRUE(widgetPrompts.chooseFont(nullptr, stored));
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(boxes + combos + spins, 0);
    EXPECT_TRUE(faces.contains(installedFamily(QStringLiteral("ＭＳ 明朝"))));
    for (const QString& face : faces)
        EXPECT_TRUE(QFontDatabase::isScalable(face)) << face.toStdString();
    EXPECT_EQ(chosen.pointSize(), 9);
    EXPECT_EQ(stored.family(), installedFamily(QStringLiteral("ＭＳ Ｐゴシック")));
    EXPECT_EQ(stored.pointSize(), 9);
    EXPECT_FALSE(stored.bold() || stored.italic() || stored.underline() || stored.strikeOut());
}

TEST_F(RealFontChooser, AFamilyShiftJisCannotNameIsNotTaken) {
    // The chooser only lists installed families; one named with an "é" stands in for a
    // font whose name the settings file could not keep.
    class Choosing : public AnsweringPrompts {
    public:
        bool chooseFont(QWidget*, QFont& font) override {
            font.setFamily(QStringLiteral("Café Serif"));
            return true;
        }
    } choosing;
    ScopedServices answered({.prompts = &choosing});
    OptionForm->FontButtonClick();
    EXPECT_EQ(OptionForm->FontButton->text(), QStringLiteral("ＭＳ 明朝"));
    ASSERT_EQ(choosing.reports.size(), 1);
    EXPECT_EQ(choosing.reports[0],
              QStringLiteral("フォント名「Café Serif」は Shift-JIS で表せないため、選べません。"));
}

TEST_F(ProgramFixture, TheSaveChooserAsksBeforeReplacingAFile) {
    const QString existing = dir.filePath(QStringLiteral("mine.qln"));
    writeFile(existing, "AB \r\n");
    WidgetPrompts real;
    QString question, yes, no;
    QStringList filters;
    ModalScript script;
    auto name = [](const QString& path) {
        return [path](QFileDialog* dialog) {
            // Typed into the name field, as a user would.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        };
    };
    script
        .then<QFileDialog>([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            name(existing)(dialog);
        })
        .then<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            yes = box->button(QMessageBox::Yes)->text();
            no = box->button(QMessageBox::No)->text();
            box->button(QMessageBox::No)->click();
        })
        .then<QFileDialog>(name(existing))
        .then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    const QString chosen = real.chooseSaveFile(
        nullptr, {}, {QStringLiteral("ユーザー指定サブタイトル"), QStringLiteral("*.qln")},
        QStringLiteral("qln"));
    ASSERT_TRUE(script.finished());
    // The pattern in brackets straight after the description, as the filter is written.
    EXPECT_EQ(filters, QStringList{QStringLiteral("ユーザー指定サブタイトル(*.qln)")});
    EXPECT_EQ(question, QStringLiteral("mine.qln は既に存在します。\n置き換えますか?"));
    EXPECT_EQ(yes, QStringLiteral("はい(&Y)"));
    EXPECT_EQ(no, QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(chosen, existing);
    EXPECT_EQ(readFile(existing), QByteArray("AB \r\n")); // choosing replaces nothing yet
}
