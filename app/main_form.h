#pragma once
// The main window: the subtitle is typed or chosen here and the card started.
#include <QByteArray>
#include <QDialog>
#include <memory>

class QLineEdit;
class QLabel;
class QPushButton;
class QMenu;
class QAction;
class QTimer;

namespace Ui {
class MainForm;
}

namespace quillon {

class SubtitleCombo;
class PictureButton;
class Ambience;
class TDispForm;
class TOptionForm;
class TWaveCollectionItem;
class ExportController;
struct Settings;

class TMainForm : public QDialog {
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // What the main window talks to, handed over once every window exists.
    struct Partners {
        TDispForm* card = nullptr;       // runs the cards; plays the click cue
        TOptionForm* settings = nullptr; // the live settings and the user file
        QDialog* about = nullptr;
        TWaveCollectionItem* ambienceLoop = nullptr; // the soundscape's looped background
    };
    void setPartners(const Partners& partners) { partners_ = partners; }
    const Partners& partners() const { return partners_; }

    // Controls, in the order the window declares them.
    QPushButton* RunButton;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label1;
    QPushButton* TsrButton;
    QPushButton* OptionButton;
    QPushButton* AboutButton;
    SubtitleCombo* ComboBox1;
    PictureButton* DiceImage;
    PictureButton* ErasorImage;
    SubtitleCombo* ComboBox2;
    PictureButton* PencilImage;
    QMenu* UserEditPopupMenu;
    QAction* UserTitleDelete;
    QTimer* Timer1;

    // Line 1 and line 2 as Shift-JIS bytes, and setting them.
    QByteArray line1() const;
    QByteArray line2() const;
    void setLine1(const QByteArray& text);
    void setLine2(const QByteArray& text);

    void SelectSubtitle();
    void GetComboString(int list, int index);
    void randomChoice();

    void FormCreate();
    void FormPaint();
    void RunButtonClick();
    void TsrButtonClick();
    void OptionButtonClick();
    void AboutButtonClick();
    void ErasorImageClick();
    void DiceImageClick();
    void ComboBox1Change();
    void ComboBox1DropDown();
    void ComboBox2Change();
    void ComboBox2DropDown();
    void PencilImageClick();
    void UserTitleDeleteClick();
    void Timer1Timer();
    // Writes the card of the two lines to a picture or a video file the user names
    // (Ctrl+E, or the window's context menu).
    void exportCard();
    QAction* ExportAction = nullptr;

    // The user list's text while nothing has been chosen.
    static QString userListPlaceholder();

    // Arms the ambience: Tag 1, timer enabled (an enabled timer keeps its beat).
    void armAmbience();
    int timer1Tag = 0;
    Ambience& ambience() { return *ambience_; }

    // The pair last erased, for the eraser's one-step undo.
    QByteArray ErasedLine1;
    QByteArray ErasedLine2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Esc presses the cancel button

private:
    void clickCue();
    std::unique_ptr<Ui::MainForm> ui_;
    Ambience* ambience_ = nullptr;
    Partners partners_;
    ExportController* export_ = nullptr;
    // The settings in force when the export began; its worker reads them once.
    std::shared_ptr<const Settings> exportSettings_;
};

} // namespace quillon
