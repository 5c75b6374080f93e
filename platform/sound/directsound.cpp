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
    // Buffers still alive lose their device interface, last made first.
    for (size_t i = buffers_.size(); i-- > 0;) {
        TDirectSoundBuffer* buffer = buffers_[i];
        buffer->ReleaseInterface();
        buffer->owner_ = nullptr;
    }
    buffers_.clear();
}

SoundDevice& TDirectSound::IDSound() {
    if (!device_)
        throw EDirectSoundError(
            filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSound"));
    return *device_;
}

void TDirectSound::SetCooperativeLevel(QWidget* window, uint32_t level) {
    setLastResult(IDSound().SetCooperativeLevel(window, level));
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
    ReleaseInterface();
    if (owner_)
        std::erase(owner_->buffers_, this);
}

void TDirectSoundBuffer::noInterface() {
    throw EDirectSoundBufferError(
        filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSoundBuffer"));
}

void TDirectSoundBuffer::ReleaseInterface() {
    buffer_.reset();
}

bool TDirectSoundBuffer::CreateBuffer(const SoundBufferDesc& desc) {
    ReleaseInterface();
    if (!owner_)
        throw EDirectSoundError(
            filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSound"));
    std::unique_ptr<SoundBuffer> created;
    const int32_t result = owner_->IDSound().CreateSoundBuffer(desc, created);
    if (result == DS_OK && created) {
        buffer_ = std::move(created);
        format_ = desc.format;
    }
    record(result);
    return buffer_ != nullptr;
}

bool TDirectSoundBuffer::Duplicate(TDirectSoundBuffer& original) {
    ReleaseInterface();
    if (!owner_)
        throw EDirectSoundError(
            filled(QT_TRANSLATE_NOOP("Errors", "%s は作成されていません"), "IDirectSound"));
    std::unique_ptr<SoundBuffer> copy;
    const int32_t result = owner_->IDSound().DuplicateSoundBuffer(original.IBuffer(), copy);
    if (result == DS_OK && copy) {
        buffer_ = std::move(copy);
        format_ = original.format_;
    }
    record(result);
    return buffer_ != nullptr;
}

void TDirectSoundBuffer::LoadFromWave(const TWave& wave) {
    SoundBufferDesc desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if (owner_ && owner_->StickyFocus)
        desc.flags |= DSBCAPS_STICKYFOCUS;
    else if (owner_ && owner_->GlobalFocus)
        desc.flags |= DSBCAPS_GLOBALFOCUS;
    desc.bufferBytes = uint32_t(wave.DataSize());
    desc.format = wave.Format();
    if (!CreateBuffer(desc))
        throw EDirectSoundBufferError(filled(QT_TRANSLATE_NOOP("Errors", "%s を作成できません"),
                                             QT_TRANSLATE_NOOP("Errors", "サウンドバッファ")));
    if (wave.DataSize() <= 0)
        return;

    void* region[2] = {};
    uint32_t length[2] = {};
    const int32_t result =
        buffer_->Lock(0, uint32_t(wave.DataSize()), &region[0], &length[0], &region[1], &length[1]);
    if (result != DS_OK) {
        ReleaseInterface();
        record(result);
        throw EDirectSoundBufferError(filled(QT_TRANSLATE_NOOP("Errors", "%s をロックできません"),
                                             QT_TRANSLATE_NOOP("Errors", "サウンドバッファ")));
    }
    // The device may hand out the block in two parts.
    const uint32_t total = uint32_t(wave.DataSize());
    const uint32_t first = std::min(length[0], total);
    std::memcpy(region[0], wave.Data(), first);
    if (region[1] && first < total)
        std::memcpy(region[1], wave.Data() + first, std::min(length[1], total - first));
    record(buffer_->Unlock(region[0], length[0], region[1], length[1]));
}

void TDirectSoundBuffer::Check() {
    if (LastResult() == DSERR_BUFFERLOST && owner_)
        owner_->bufferLost();
}

void TDirectSoundBuffer::Stop() {
    record(IBuffer().Stop());
}
void TDirectSoundBuffer::SetCurrentPosition(uint32_t bytes) {
    record(IBuffer().SetCurrentPosition(bytes));
}
void TDirectSoundBuffer::SetFrequency(uint32_t hz) {
    record(IBuffer().SetFrequency(hz));
}
void TDirectSoundBuffer::SetPan(int32_t pan) {
    record(IBuffer().SetPan(pan));
}
void TDirectSoundBuffer::SetVolume(int32_t volume) {
    record(IBuffer().SetVolume(volume));
}
void TDirectSoundBuffer::Play(bool loop) {
    record(IBuffer().Play(0, 0, loop ? DSBPLAY_LOOPING : 0));
}

} // namespace quillon
