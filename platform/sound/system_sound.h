#pragma once
// The sound system the program plays through on this operating system: OpenAL Soft on
// Linux, DirectSound on Windows (one source file each).
#include "platform/sound/sound_device.h"

#include <memory>

namespace quillon {

std::unique_ptr<SoundSystem> makeSystemSound();

} // namespace quillon
