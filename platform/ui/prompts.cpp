#include "platform/ui/prompts.h"

#include "platform/core/error.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quillon {

void WidgetPrompts::showError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quillon for DirectX"),
                    errorBoxText(message), QMessageBox::Ok, parent);
    box.exec();
}

bool WidgetPrompts::askYesNo(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), message, QMessageBox::NoButton,
                    parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void WidgetPrompts::tellOk(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), message, QMessageBox::NoButton,
                    parent);
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.exec();
}

namespace {
QString filterText(const FileFilter& f) {
    return f.description + QStringLiteral(" (") + f.pattern + u')';
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
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font, parent, QString(),
                             QFontDialog::ScalableFonts | QFontDialog::DontUseNativeDialog);
    if (ok)
        font = chosen;
    return ok;
}

void WidgetPrompts::beep() {
    QApplication::beep();
}

namespace {
WidgetPrompts widgetPrompts;
Prompts* currentPrompts = &widgetPrompts;
} // namespace

Prompts& prompts() {
    return *currentPrompts;
}
void setPrompts(Prompts* p) {
    currentPrompts = p ? p : &widgetPrompts;
}

} // namespace quillon
