#include "platform/sound/system_sound.h"

#include "platform/sound/openal_device.h"

namespace quillon {

std::unique_ptr<SoundSystem> makeSystemSound() {
    return std::make_unique<OpenALSoundSystem>();
}

QStringList openALLibraryNames() {
    return {QStringLiteral("libopenal.so.1")};
}

} // namespace quillon
