#include "platform/sound/cue_mixer.h"

#include "platform/core/error.h"
#include "platform/sound/loopback_mixer.h"
#include "platform/sound/software_mixer.h"

#include <QCoreApplication>

namespace quillon {

std::unique_ptr<CueMixer> makeCueMixer(int rate, int channels) {
    try {
        return std::make_unique<LoopbackMixer>(rate, channels);
    } catch (const Exception&) {
        // No OpenAL Soft here (always so on Windows), or one that cannot render
        // offline: the export keeps its sound all the same.
        return std::make_unique<SoftwareMixer>(rate, channels);
    }
}

void raiseUnknownCue(const QString& name) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Errors", "Wave '%s' が見つかりません"), {name}));
}

} // namespace quillon
