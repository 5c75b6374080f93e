#pragma once
// The settings dialog. Its controls hold the live settings for the whole run: every
// other part reads them from here at the moment of use.
#include "presentation/live_settings.h"
#include "settings/choosers.h"
#include "settings/settings_store.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPushButton;
class QCheckBox;

namespace Ui {
class OptionForm;
}

namespace quillon {

class RadioGroup;
class SpinEdit;

class SubtitleList;

class TOptionForm : public QDialog, public LiveSettings {
public:
    // The main window's two lists, which every load refreshes: the catalogue list by
    // Original, the user list from the user file.
    TOptionForm(SubtitleList& catalogueList, SubtitleList& userList, QWidget* parent = nullptr);
    ~TOptionForm() override;

    // Controls, in the order of the window's layout.
    QPushButton* OkButton;
    QPushButton* CancelButton;
    RadioGroup* DiceRadioGroup;
    RadioGroup* OriginalRadioGroup;
    QPushButton* UserFileButton;
    QPushButton* UserFileReleaseButton;
    QPushButton* FontButton;
    QCheckBox* AutoCloseCheckBox;
    QCheckBox* SilentCheckBox;
    SpinEdit* MagnifySpinEdit;
    SpinEdit* StartWaitSpinEdit;
    SpinEdit* WaitSpinEdit;

    // The catalogue series, hidden: never changed at run time.
    QList<QByteArray> ListBox1;
    QList<QByteArray> ListBox2;
    QList<QByteArray> ListBox3;

    // Non-visual members: the user file chooser (its file name is UserFile), the
    // font chooser (its face and character set are Name and Charset) and the
    // pencil's new-file chooser.
    FileChooser OpenDialog1{FileChooser::Kind::Open};
    FontChooser FontDialog1;
    FileChooser SaveDialog1{FileChooser::Kind::Save};

    // Live values.
    int StartWait() const override;
    int Wait() const override;
    int Magnify() const override;
    bool AutoClose() const override;
    bool Silent() const override;
    DisplayFont Font() const override;
    int DiceMode() const;
    int Original() const;
    QString UserFile() const;
    // All ten at once, as a save writes them.
    Settings currentSettings() const;

    // Load and save of Quillon.ini; both raise quillon::Exception on failure.
    void GetIni();
    void ModIni();
    // The catalogue refresh: the main window's catalogue list by Original.
    void ModCombo();
    // Connects the user file to the main window's user list and to this dialog.
    void UserFileCheck();
    // When the user list holds only the first lines of the user file (it went past the
    // list's bounds), their count: a save writes the file's other lines back after the
    // list. Empty when the list holds the whole file.
    std::optional<int> userFileRestAfter() const;

    // The pencil's new file: UserFile := path, the file button shows its name.
    void setUserFile(const QString& path);
    // Enables or disables the DiceMode choice (DiceMode itself unchanged).
    void setDiceChoiceEnabled(bool enabled);
    // Asks for a new user file's name (SaveDialog1); empty when cancelled.
    QString chooseNewUserFile(QWidget* parent);

    // The click cue: "Bang" through the presentation form (silent while Silent is on).
    std::function<void()> clickCue;
    // Every way of leaving the dialog shows the main window again.
    std::function<void()> showMainWindow;

    // Handlers.
    void FormCreate();
    void UserFileButtonClick();
    void UserFileReleaseButtonClick();
    void FontButtonClick();
    void OkButtonClick();
    void CancelButtonClick();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Esc presses Cancel
    void showEvent(QShowEvent* event) override;

private:
    void applySettings(const Settings& s);
    void showUserFileName(const QString& path);
    // Fills the user list from the file; a file too long for the list is held as far as
    // it goes, and the user is told so.
    void takeUserFileLines(const QString& path);
    void playClickCue();
    void connectHandlers();
    void setInitialValues();
    void backToMainWindow();

    std::unique_ptr<Ui::OptionForm> ui_;
    SubtitleList& catalogueList_;
    SubtitleList& userList_;
    bool placed_ = false;
    // The user file whose list stops short of its end, and how many lines the list holds.
    QString partlyHeldFile_;
    int heldLines_ = 0;
};

} // namespace quillon
