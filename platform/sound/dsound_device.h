#pragma once
// The sound device on Windows: DirectSound, loaded at run time from DSound.dll, whose
// calls the sound device interface follows one for one.
#include "platform/sound/sound_device.h"

namespace quillon {

class DirectSoundSystem : public SoundSystem {
public:
    static constexpr const char* LibraryName = "DSound.dll";
    // Raises "DSound.dll を読み込めません" when the library is missing; without a sound
    // device, DirectSound's own failing result.
    int32_t DirectSoundCreate(std::unique_ptr<SoundDevice>& device) override;
};

} // namespace quillon
