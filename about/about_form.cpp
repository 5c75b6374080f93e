#include "about/about_form.h"

#include "app/main_form.h"

#include <QCloseEvent>
#include <QPushButton>

namespace quillon {

TAboutForm* AboutForm = nullptr;

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("情報"));
    setFixedSize(294, 121);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(110, 88, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { close(); });
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::closeEvent(QCloseEvent* event) {
    if (MainForm)
        MainForm->show();
    event->accept();
    QDialog::done(QDialog::Accepted);
}

void TAboutForm::reject() {} // Esc does nothing: the box has no cancel button

} // namespace quillon
