#include "platform/media/ffmpeg_hint.h"

#include <QCoreApplication>

namespace quillon {

// Windows has no package for it: the user downloads ffmpeg.exe and puts it where the
// program looks.
QString ffmpegInstallHint() {
    return QCoreApplication::translate(
        "Errors", "ffmpeg.exe をこのプログラムと同じフォルダか、PATH のフォルダに置いてください");
}

} // namespace quillon
