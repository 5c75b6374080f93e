#include "platform/ui/prompts.h"

#include "platform/core/error.h"
#include "platform/core/product.h"
#include "platform/ui/face_chooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace quillon {

namespace {
QString confirmationTitle() {
    return QCoreApplication::translate("Prompts", "確認");
}
} // namespace

void WidgetPrompts::showError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, productName(), errorBoxText(message), QMessageBox::Ok,
                    parent);
    box.exec();
}

bool WidgetPrompts::askYesNo(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, confirmationTitle(), message, QMessageBox::NoButton,
                    parent);
    QPushButton* yes =
        box.addButton(QCoreApplication::translate("Prompts", "はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(QCoreApplication::translate("Prompts", "いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void WidgetPrompts::tellOk(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, confirmationTitle(), message, QMessageBox::NoButton,
                    parent);
    box.setDefaultButton(
        box.addButton(QCoreApplication::translate("Prompts", "OK"), QMessageBox::AcceptRole));
    box.exec();
}

namespace {
// "ユーザー指定サブタイトル(*.qln)": the pattern in brackets right after the description.
QString filterText(const FileFilter& f) {
    return f.description + u'(' + f.pattern + u')';
}

// With no file chosen yet, a subtitle list belongs among the user's documents rather
// than wherever the program happened to be started.
QString startFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString runFileDialog(QWidget* parent, const QString& current, const FileFilter& filter,
                      const QString& suffix, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filterText(filter));
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // Naming an existing file in the save chooser asks before it is replaced (the
    // toolkit's own question, in Japanese with the program's translations).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!current.isEmpty())
        dialog.selectFile(current);
    else
        dialog.setDirectory(startFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
} // namespace

QString WidgetPrompts::chooseOpenFile(QWidget* parent, const QString& current,
                                      const FileFilter& filter, const QString& defaultSuffix) {
    return runFileDialog(parent, current, filter, defaultSuffix, QFileDialog::AcceptOpen);
}

QString WidgetPrompts::chooseSaveFile(QWidget* parent, const QString& current,
                                      const FileFilter& filter, const QString& defaultSuffix) {
    return runFileDialog(parent, current, filter, defaultSuffix, QFileDialog::AcceptSave);
}

bool WidgetPrompts::chooseFont(QWidget* parent, QFont& font) {
    FaceChooser chooser(parent);
    chooser.setCurrentFont(font);
    if (chooser.exec() != QDialog::Accepted || chooser.currentFont().family().isEmpty())
        return false;
    font = chooser.currentFont();
    return true;
}

void WidgetPrompts::beep() {
    QApplication::beep();
}

} // namespace quillon
