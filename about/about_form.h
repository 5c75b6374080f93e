#pragma once
// The about box: the program's name, its emblem and the copyright line; a double
// click on the emblem stages the credits card.
#include <QByteArray>
#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QFrame;

namespace Ui {
class AboutForm;
}

namespace quillon {

class PictureButton;

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(QWidget* parent = nullptr);
    ~TAboutForm() override;

    QPushButton* OkButton;
    QFrame* EmblemFrame;
    PictureButton* AboutImage;
    QLabel* CopyrightLabel;

    // The copyright line as shown; it is also line 2 of the emblem's card.
    QByteArray copyrightLine() const;

    void FormCreate();
    void OkButtonClick();
    void FormClose();
    void AboutImageDblClick();

    // The click cue ("Bang", silent while Silent is on).
    std::function<void()> clickCue;
    // Every way of leaving the box shows the main window again.
    std::function<void()> showMainWindow;
    // Starts a title card with these lines.
    std::function<void(const QByteArray& line1, const QByteArray& line2)> runCard;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void createParams();
    void playClickCue();
    std::unique_ptr<Ui::AboutForm> ui_;
};

} // namespace quillon
