#pragma once
// The settings dialog. Its controls hold the live settings for the whole run.
#include "presentation/live_settings.h"

#include <QDialog>
#include <QString>

namespace quillon {

class TOptionForm : public QDialog, public LiveSettings {
public:
    explicit TOptionForm(QWidget* parent = nullptr);
    ~TOptionForm() override;

    // Live values, read at the moment of use.
    int StartWait() const override;
    int Wait() const override;
    int Magnify() const override;
    bool AutoClose() const override;
    bool Silent() const override;
    DisplayFont Font() const override;
    int DiceMode() const;
    int Original() const;
    QString UserFile() const;

    void GetIni();
    void ModIni();
    void ModCombo();
    void UserFileCheck();

    // The pencil's new file: UserFile := path, the file button shows its name.
    void setUserFile(const QString& path);
    // Enables or disables the DiceMode choice (DiceMode itself unchanged).
    void setDiceChoiceEnabled(bool enabled);

    void OkButtonClick();
    void CancelButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    int diceMode_ = 1;
    int original_ = 3;
};

extern TOptionForm* OptionForm;

} // namespace quillon
