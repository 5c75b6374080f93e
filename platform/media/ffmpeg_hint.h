#pragma once
// How a user of this system gets ffmpeg, for the message when the export finds none.
// One implementation per system (ffmpeg_hint_posix.cpp).
#include <QString>

namespace quillon {

QString ffmpegInstallHint();

} // namespace quillon
