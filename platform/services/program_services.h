#pragma once
// The program's own services: the system's sound, our display device with the screen's
// mode as its desktop, and the boxes and choosers as widgets. Whoever runs the
// program (its main, the test and benchmark mains) makes one after the application, and
// they are in force while it lives.
#include "platform/core/services.h"
#include "platform/display/ddraw_device.h"
#include "platform/sound/sound_device.h"
#include "platform/ui/prompts.h"

#include <memory>
#include <optional>

namespace quillon {

class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

private:
    std::unique_ptr<SoundSystem> sound_;
    ddraw::Device display_;
    WidgetPrompts prompts_;
    std::optional<ScopedServices> installed_;
};

} // namespace quillon
