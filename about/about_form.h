#pragma once
// The about box: the program's name, its emblem and the copyright line; a double
// click on the emblem stages the credits card.
#include <QDialog>

namespace quillon {

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(QWidget* parent = nullptr);
    ~TAboutForm() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};

extern TAboutForm* AboutForm;

} // namespace quillon
