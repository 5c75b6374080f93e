#include "platform/sound/directsound.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

namespace quillon {

namespace {
// Both are marked for translation where they are written.
QString filled(const char* pattern, const char* arg) {
    return formatMessage(QCoreApplication::translate("Errors", pattern),
                         {QCoreApplication::translate("Errors", arg)});
}
} // namespace

// ---- TDirectSound

TDirectSound::TDirectSound(std::unique_ptr<SoundDevice> device) : device_(std::move(device)) {}

TDirectSound::~TDirectSound() {
    // buffers still alive lose their device interface, last made first.
    for (size_t i = buffers_.size(); i-- > 0;) {
        TDirectSoundBuffer* buffer = buffers_[i];
        buffer->releaseInterface();
        buffer->owner_ = nullptr;
    }
    buffers_.clear();
}

SoundDevice& TDirectSound::soundInterface() {
    if (!device_)
        throw EDirectSoundError(
            filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSound"));
    return *device_;
}

void TDirectSound::SetCooperativeLevel(QWidget* window, uint32_t level) {
    setLastResult(soundInterface().SetCooperativeLevel(window, level));
}

void TDirectSound::bufferLost() {
    if (restoring_ || !OnBufferLost)
        return;
    restoring_ = true;
    try {
        OnBufferLost();
    } catch (...) {
        restoring_ = false;
        throw;
    }
    restoring_ = false;
}

// ---- TDirectSoundBuffer

TDirectSoundBuffer::TDirectSoundBuffer(TDirectSound& owner) : owner_(&owner) {
    owner.buffers_.push_back(this);
}

TDirectSoundBuffer::~TDirectSoundBuffer() {
    releaseInterface();
    if (owner_)
        std::erase(owner_->buffers_, this);
}

void TDirectSoundBuffer::noInterface() {
    throw EDirectSoundBufferError(
        filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSoundBuffer"));
}

void TDirectSoundBuffer::releaseInterface() {
    buffer_.reset();
}

bool TDirectSoundBuffer::createBuffer(const SoundBufferDesc& desc) {
    releaseInterface();
    if (!owner_)
        throw EDirectSoundError(
            filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSound"));
    std::unique_ptr<SoundBuffer> created;
    const int32_t result = owner_->soundInterface().CreateSoundBuffer(desc, created);
    if (result == DS_OK && created) {
        buffer_ = std::move(created);
        format_ = desc.format;
    }
    record(result);
    return buffer_ != nullptr;
}

bool TDirectSoundBuffer::duplicate(TDirectSoundBuffer& original) {
    releaseInterface();
    if (!owner_)
        throw EDirectSoundError(
            filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSound"));
    std::unique_ptr<SoundBuffer> copy;
    const int32_t result =
        owner_->soundInterface().DuplicateSoundBuffer(original.bufferInterface(), copy);
    if (result == DS_OK && copy) {
        buffer_ = std::move(copy);
        format_ = original.format_;
    }
    record(result);
    return buffer_ != nullptr;
}

void TDirectSoundBuffer::loadFromWave(const TWave& wave) {
    SoundBufferDesc desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if (owner_ && owner_->stickyFocus)
        desc.flags |= DSBCAPS_STICKYFOCUS;
    else if (owner_ && owner_->globalFocus)
        desc.flags |= DSBCAPS_GLOBALFOCUS;
    desc.bufferBytes = uint32_t(wave.dataSize());
    desc.format = wave.format();
    if (!createBuffer(desc))
        throw EDirectSoundBufferError(filled(QT_TRANSLATE_NOOP("Errors", "%s を作成できません"),
                                             QT_TRANSLATE_NOOP("Errors", "サウンドバッファ")));
    if (wave.dataSize() <= 0)
        return;

    void* region[2] = {};
    uint32_t length[2] = {};
    const int32_t result =
        buffer_->Lock(0, uint32_t(wave.dataSize()), &region[0], &length[0], &region[1], &length[1]);
    if (result != DS_OK) {
        releaseInterface();
        record(result);
        throw EDirectSoundBufferError(filled(QT_TRANSLATE_NOOP("Errors", "%s をロックできません"),
                                             QT_TRANSLATE_NOOP("Errors", "サウンドバッファ")));
    }
    // The device may hand out the block in two parts.
    const uint32_t total = uint32_t(wave.dataSize());
    const uint32_t first = std::min(length[0], total);
    std::memcpy(region[0], wave.data(), first);
    if (region[1] && first < total)
        std::memcpy(region[1], wave.data() + first, std::min(length[1], total - first));
    record(buffer_->Unlock(region[0], length[0], region[1], length[1]));
}

void TDirectSoundBuffer::check() {
    if (LastResult() == DSERR_BUFFERLOST && owner_)
        owner_->bufferLost();
}

void TDirectSoundBuffer::Stop() {
    record(bufferInterface().Stop());
}
void TDirectSoundBuffer::SetCurrentPosition(uint32_t bytes) {
    record(bufferInterface().SetCurrentPosition(bytes));
}
void TDirectSoundBuffer::SetFrequency(uint32_t hz) {
    record(bufferInterface().SetFrequency(hz));
}
void TDirectSoundBuffer::SetPan(int32_t pan) {
    record(bufferInterface().SetPan(pan));
}
void TDirectSoundBuffer::SetVolume(int32_t volume) {
    record(bufferInterface().SetVolume(volume));
}
void TDirectSoundBuffer::Play(bool loop) {
    record(bufferInterface().Play(0, 0, loop ? DSBPLAY_LOOPING : 0));
}

} // namespace quillon
