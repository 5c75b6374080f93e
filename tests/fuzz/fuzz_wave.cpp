// Any bytes through the wave reader, then through a sound buffer of the in-memory device.
#include "platform/sound/dxsound.h"
#include "platform/sound/wave.h"
#include "support/software_sound_device.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    TWave wave;
    try {
        wave.readWave(buffer);
    } catch (const Exception&) {
        return 0;
    }
    // Whatever loaded must also go into a device buffer safely.
    SoftwareSoundSystem device;
    std::unique_ptr<SoundDevice> sd;
    device.DirectSoundCreate(sd);
    TDirectSound loaded(std::move(sd));
    TDirectSoundBuffer sb(loaded);
    try {
        sb.loadFromWave(wave);
        sb.Play(false);
        device.advance(5);
    } catch (const Exception&) {
    }
    return 0;
}
