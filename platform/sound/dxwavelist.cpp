#include "platform/sound/dxwavelist.h"

#include "platform/sound/dxsound.h"

namespace quillon {

// ---- TDXWaveList

TDXWaveList::TDXWaveList(QObject* owner) : QObject(owner) {}

TDXWaveList::~TDXWaveList() {
    setDXSound(nullptr);
}

void TDXWaveList::setDXSound(TDXSound* sound) {
    if (sound == dxsound_)
        return;
    if (dxsound_) {
        dxsound_->unRegisterNotifyEvent(this);
        // buffers of a device this list no longer follows are let go now.
        items_.Finalize();
    }
    dxsound_ = sound;
    if (!sound)
        return;
    sound->registerNotifyEvent(
        [this](TDXSound& sender, TDXSoundNotifyEvent event) { notified(sender, event); }, this);
    if (sound->initialized()) {
        notified(*sound, TDXSoundNotifyEvent::Initialize);
        notified(*sound, TDXSoundNotifyEvent::Restore);
    }
}

void TDXWaveList::notified(TDXSound& sender, TDXSoundNotifyEvent event) {
    switch (event) {
    case TDXSoundNotifyEvent::Destroying:
        setDXSound(nullptr);
        break;
    case TDXSoundNotifyEvent::Initialize:
        items_.Finalize();
        items_.Initialize(&sender);
        break;
    case TDXSoundNotifyEvent::Finalize:
        items_.Finalize();
        break;
    case TDXSoundNotifyEvent::Restore:
        items_.Restore();
        break;
    case TDXSoundNotifyEvent::Initializing:
        break;
    }
}

void TDXWaveList::playCue(const QString& name) {
    items_.FindWave(name)->Play(false);
}

} // namespace quillon
