#pragma once
// The wave list: the named sounds bound to a sound component, which it follows as the
// component comes up, goes down or restores. It is where cues are played by name.
#include "platform/sound/cue_sink.h"
#include "platform/sound/dxsound.h"
#include "platform/sound/wave_collection.h"

#include <QObject>

namespace quillon {

class TDXWaveList : public QObject, public CueSink {
public:
    explicit TDXWaveList(QObject* owner);
    ~TDXWaveList() override;
    TDXSound* DXSound() const { return dxsound_; }
    void setDXSound(TDXSound* sound);
    TWaveCollection* Items() { return &items_; }
    // Finds the cue (raising when there is none) and starts it.
    void playCue(const QString& name) override;

private:
    void notified(TDXSound& sender, TDXSoundNotifyEvent event);

    TDXSound* dxsound_ = nullptr;
    TWaveCollection items_;
};

// The eleven built-in sounds, in their order.
} // namespace quillon
