#pragma once
// The sound device on OpenAL Soft, loaded at run time: one source per buffer, and a
// duplicate is another source on the same OpenAL buffer.
#include "platform/sound/sound_device.h"

namespace quillon {

class OpenALSoundSystem : public SoundSystem {
public:
    static constexpr const char* LibraryName = "libopenal.so.1";
    int32_t DirectSoundCreate(std::unique_ptr<SoundDevice>& device) override;
};

} // namespace quillon
