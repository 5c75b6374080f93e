#pragma once
// The one place that makes the program's four windows, in their fixed order, and hands
// each one what it talks to. The windows live as long as the Program.
#include "presentation/live_settings.h"

#include <memory>

namespace quillon {

class TMainForm;
class TDispForm;
class TOptionForm;
class TAboutForm;
class ScreenInhibitor;

class Program {
public:
    // The main window, the presentation form, the settings dialog (whose creation loads
    // the settings and fills the main window's lists), then the about box.
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TMainForm& mainForm() { return *main_; }
    TDispForm& dispForm() { return *disp_; }
    TOptionForm& optionForm() { return *options_; }
    TAboutForm& aboutForm() { return *about_; }

private:
    // The card reads its settings from the dialog, which is made after the card's form.
    class SettingsRelay : public LiveSettings {
    public:
        const LiveSettings* target = nullptr;
        int StartWait() const override { return target->StartWait(); }
        int Wait() const override { return target->Wait(); }
        int Magnify() const override { return target->Magnify(); }
        bool AutoClose() const override { return target->AutoClose(); }
        bool Silent() const override { return target->Silent(); }
        DisplayFont Font() const override { return target->Font(); }
    };

    SettingsRelay settings_;
    std::unique_ptr<ScreenInhibitor> inhibitor_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TDispForm> disp_;
    std::unique_ptr<TOptionForm> options_;
    std::unique_ptr<TAboutForm> about_;
};

} // namespace quillon
