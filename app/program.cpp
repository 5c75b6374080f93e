#include "app/program.h"

#include "about/about_form.h"
#include "app/main_form.h"
#include "platform/core/services.h"
#include "platform/desktop/screen_inhibitor.h"
#include "platform/sound/dxwavelist.h"
#include "presentation/disp_form.h"
#include "settings/option_form.h"
#include "subtitles/subtitle_combo.h"

namespace quillon {

Program::Program() {
    main_ = std::make_unique<TMainForm>();
    disp_ = std::make_unique<TDispForm>(settings_);
    TMainForm& main = *main_;
    TDispForm& disp = *disp_;
    // The desktop's screen saver is held off while a card plays, unless this run is one.
    inhibitor_ = makeScreenInhibitor(environment().runMode());
    disp.setScreenInhibitor(inhibitor_.get());
    disp.closeMainWindow = [&main] { main.close(); };
    disp.armAmbience = [&main] { main.armAmbience(); };

    const auto clickCue = [&disp] { disp.PutSound(QStringLiteral("Bang")); };
    const auto showMain = [&main] { main.show(); };
    options_ = std::make_unique<TOptionForm>(*main.ComboBox1, *main.ComboBox2);
    settings_.target = options_.get();
    options_->clickCue = clickCue;
    options_->showMainWindow = showMain;

    about_ = std::make_unique<TAboutForm>();
    about_->clickCue = clickCue;
    about_->showMainWindow = showMain;
    about_->runCard = [&disp](const QByteArray& line1, const QByteArray& line2) {
        disp.RunQuillon(line1, line2);
    };

    main.setPartners({&disp, options_.get(), about_.get(),
                      disp.DXWaveList1->Items()->FindWave(QStringLiteral("Savanna"))});
}

Program::~Program() {
    // In reverse order of making.
    about_.reset();
    options_.reset();
    settings_.target = nullptr;
    disp_.reset();
    main_.reset();
    inhibitor_.reset();
}

} // namespace quillon
