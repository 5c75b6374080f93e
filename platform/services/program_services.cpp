#include "platform/services/program_services.h"

#include "platform/sound/system_sound.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillon {

ProgramServices::ProgramServices() : sound_(makeSystemSound()) {
    // The desktop's mode is the screen's; windowed primaries have its size.
    if (qGuiApp)
        if (QScreen* screen = QGuiApplication::primaryScreen())
            display_.desktop = {screen->size().width(), screen->size().height(), 32};
    display_.setCurrentMode(display_.desktop);
    installed_.emplace(Services{.sound = sound_.get(), .display = &display_, .prompts = &prompts_});
}

ProgramServices::~ProgramServices() = default;

} // namespace quillon
