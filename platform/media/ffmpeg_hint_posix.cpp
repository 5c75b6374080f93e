#include "platform/media/ffmpeg_hint.h"

#include <QCoreApplication>

namespace quillon {

QString ffmpegInstallHint() {
    return QCoreApplication::translate(
        "Errors", "パッケージ ffmpeg をインストールしてください (例: sudo apt install ffmpeg)");
}

} // namespace quillon
