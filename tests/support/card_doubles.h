#pragma once
// What a card is played with in a test: settings set by hand and a sink that records the
// cues it was given.
#include "platform/sound/cue_sink.h"
#include "presentation/live_settings.h"

#include <QStringList>

namespace quillon::testing {

class FixedSettings : public LiveSettings {
public:
    int startWait = 1500;
    int wait = 120;
    int magnify = 70;
    bool autoClose = false;
    bool silent = false;
    DisplayFont font{QStringLiteral("ＭＳ 明朝"), 128};

    int StartWait() const override { return startWait; }
    int Wait() const override { return wait; }
    int Magnify() const override { return magnify; }
    bool AutoClose() const override { return autoClose; }
    bool Silent() const override { return silent; }
    DisplayFont Font() const override { return font; }
};

class RecordingCues : public CueSink {
public:
    QStringList played;
    void playCue(const QString& name) override { played.append(name); }
};

} // namespace quillon::testing
