#include "settings/option_form.h"

#include "app/main_form.h"
#include "presentation/disp_form.h"

#include <QCloseEvent>
#include <QPushButton>

namespace quillon {

TOptionForm* OptionForm = nullptr;

TOptionForm::TOptionForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("設定"));
    setFixedSize(392, 263);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(280, 231, 105, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(168, 231, 105, 25);
    connect(cancel, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

TOptionForm::~TOptionForm() = default;

int TOptionForm::StartWait() const { return 1500; }
int TOptionForm::Wait() const { return 120; }
int TOptionForm::Magnify() const { return 70; }
bool TOptionForm::AutoClose() const { return false; }
bool TOptionForm::Silent() const { return false; }
DisplayFont TOptionForm::Font() const { return {}; }
int TOptionForm::DiceMode() const { return diceMode_; }
int TOptionForm::Original() const { return original_; }
QString TOptionForm::UserFile() const { return {}; }

void TOptionForm::GetIni() {}
void TOptionForm::ModIni() {}
void TOptionForm::ModCombo() {}
void TOptionForm::UserFileCheck() {}

void TOptionForm::setUserFile(const QString&) {}
void TOptionForm::setDiceChoiceEnabled(bool) {}

void TOptionForm::OkButtonClick() { close(); }
void TOptionForm::CancelButtonClick() { close(); }

void TOptionForm::closeEvent(QCloseEvent* event) {
    if (MainForm)
        MainForm->show();
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void TOptionForm::reject() { CancelButtonClick(); }

} // namespace quillon
