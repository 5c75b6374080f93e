#pragma once
// The sound system the program plays through on this operating system: OpenAL Soft on
// Linux, DirectSound on Windows (one source file each).
#include "platform/sound/sound_device.h"

#include <QStringList>
#include <memory>

namespace quillon {

std::unique_ptr<SoundSystem> makeSystemSound();

// The names OpenAL Soft's library goes by on this system, the likeliest first.
QStringList openALLibraryNames();

} // namespace quillon
