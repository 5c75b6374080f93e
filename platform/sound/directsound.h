#pragma once
// The sound device's wrappers: the device object with the buffers made through it, and
// one buffer; a failing buffer call is recorded, and a lost buffer starts the recovery.
#include "platform/core/directx.h"
#include "platform/sound/sound_device.h"
#include "platform/sound/wave.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace quillon {

class EDirectSoundError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class EDirectSoundBufferError : public EDirectSoundError {
public:
    using EDirectSoundError::EDirectSoundError;
};

class TDirectSoundBuffer;

// The device object, with the buffers made through it.
class TDirectSound : public TDirectX {
public:
    explicit TDirectSound(std::unique_ptr<SoundDevice> device);
    ~TDirectSound() override;

    // Raises "IDirectSound は作成されていません" when there is no device.
    SoundDevice& soundInterface();
    // Recorded only: a refused level changes nothing the program relies on.
    void SetCooperativeLevel(QWidget* window, uint32_t level);
    const std::vector<TDirectSoundBuffer*>& buffers() const { return buffers_; }

    bool globalFocus = false;
    bool stickyFocus = false;
    // Called when a buffer reports its loss; not again while a recovery runs.
    std::function<void()> OnBufferLost;

private:
    friend class TDirectSoundBuffer;
    void bufferLost();

    std::unique_ptr<SoundDevice> device_;
    std::vector<TDirectSoundBuffer*> buffers_;
    bool restoring_ = false;
};

// One sound buffer of the device; without an interface every operation raises.
class TDirectSoundBuffer : public TDirectX {
public:
    explicit TDirectSoundBuffer(TDirectSound& owner);
    ~TDirectSoundBuffer() override;

    bool hasInterface() const { return buffer_ != nullptr; }
    SoundBuffer& bufferInterface() {
        if (!buffer_)
            noInterface();
        return *buffer_;
    }
    // None once the device object is gone.
    TDirectSound* directSound() const { return owner_; }
    const QByteArray& format() const { return format_; }

    // Creates the device buffer; false when the device refuses.
    bool createBuffer(const SoundBufferDesc& desc);
    // Makes this buffer a duplicate of another; false when the device refuses.
    bool duplicate(TDirectSoundBuffer& original);
    // A fresh buffer holding the wave's samples.
    void loadFromWave(const TWave& wave);
    void releaseInterface();

    void Stop();
    void SetCurrentPosition(uint32_t bytes);
    void SetFrequency(uint32_t hz);
    void SetPan(int32_t pan);
    void SetVolume(int32_t volume);
    void Play(bool loop);
    // Asked of every copy of a sound at each play, so kept where the caller can inline it.
    uint32_t status() {
        uint32_t status = 0;
        record(bufferInterface().GetStatus(status));
        return status;
    }
    bool IsPlaying() { return (status() & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING)) != 0; }

protected:
    void check() override;

private:
    friend class TDirectSound;
    void record(int32_t result) { setLastResult(result); }
    [[noreturn]] static void noInterface();

    TDirectSound* owner_;
    std::unique_ptr<SoundBuffer> buffer_;
    QByteArray format_;
};

} // namespace quillon
