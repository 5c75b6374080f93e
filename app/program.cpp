#include "app/program.h"

#include "about/about_form.h"
#include "app/main_form.h"
#include "presentation/disp_form.h"
#include "settings/option_form.h"

namespace quillon {

void CreateForms() {
    // The settings dialog's creation fills the main window's lists, so the main
    // window comes first.
    MainForm = new TMainForm;
    DispForm = new TDispForm;
    DispForm->CloseMainWindow = [] { MainForm->close(); };
    DispForm->ArmAmbience = [] { MainForm->ArmAmbience(); };
    OptionForm = new TOptionForm;
    DispForm->setSettings(OptionForm);
    AboutForm = new TAboutForm;
}

void DestroyForms() {
    delete AboutForm;
    AboutForm = nullptr;
    if (DispForm)
        DispForm->setSettings(nullptr);
    delete OptionForm;
    OptionForm = nullptr;
    delete DispForm;
    DispForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
}

} // namespace quillon
