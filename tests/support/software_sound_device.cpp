#include "support/software_sound_device.h"

#include <algorithm>

namespace quillon {

class SoftwareBuffer : public SoundBuffer {
public:
    SoftwareBuffer(SoftwareSoundSystem& system,
                   std::shared_ptr<SoftwareSoundSystem::BufferState> state)
        : system_(system), state_(std::move(state)) {}
    ~SoftwareBuffer() override {
        state_->released = true;
        state_->playing = false;
        system_.record(Op::Release, state_->id, 0);
    }
    SoftwareSoundSystem::BufferState& state() { return *state_; }

    int32_t Stop() override {
        return act(Op::Stop, 0, [&] { state_->playing = false; });
    }
    int32_t SetCurrentPosition(uint32_t bytes) override {
        return act(Op::Position, bytes, [&] {
            const double frames = double(bytes / std::max<uint16_t>(state_->pcm.blockAlign, 1));
            state_->frame = std::min(frames, double(frameCount()));
        });
    }
    int32_t SetFrequency(uint32_t hz) override {
        return act(Op::Frequency, hz, [&] { state_->frequency = hz; });
    }
    int32_t SetPan(int32_t pan) override {
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT)
            return DSERR_INVALIDPARAM;
        return act(Op::Pan, pan, [&] { state_->pan = pan; });
    }
    int32_t SetVolume(int32_t volume) override {
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
            return DSERR_INVALIDPARAM;
        return act(Op::Volume, volume, [&] { state_->volume = volume; });
    }
    int32_t Play(uint32_t, uint32_t, uint32_t flags) override {
        return act(Op::Play, flags, [&] {
            state_->playing = !state_->primary;
            state_->looping = flags & DSBPLAY_LOOPING;
            ++state_->plays;
        });
    }
    int32_t GetStatus(uint32_t& status) override {
        status = state_->lost ? DSBSTATUS_BUFFERLOST : 0;
        if (state_->playing)
            status |= DSBSTATUS_PLAYING | (state_->looping ? DSBSTATUS_LOOPING : 0);
        return DS_OK;
    }
    int32_t Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* length1, void** region2,
                 uint32_t* length2) override {
        if (state_->lost)
            return DSERR_BUFFERLOST;
        auto& samples = *state_->samples;
        if (system_.failLock || state_->primary || offset > samples.size() ||
            bytes > samples.size() - offset)
            return DSERR_INVALIDPARAM;
        system_.record(Op::Lock, state_->id, bytes);
        *region1 = samples.data() + offset;
        *length1 = bytes;
        if (region2)
            *region2 = nullptr;
        if (length2)
            *length2 = 0;
        return DS_OK;
    }
    int32_t Unlock(void*, uint32_t, void*, uint32_t) override { return DS_OK; }

private:
    using Op = SoftwareSoundSystem::Op;

    template <typename F> int32_t act(Op op, int64_t value, F change) {
        if (state_->lost)
            return DSERR_BUFFERLOST;
        system_.record(op, state_->id, value);
        change();
        return DS_OK;
    }
    size_t frameCount() const {
        return state_->samples->size() / std::max<uint16_t>(state_->pcm.blockAlign, 1);
    }

    SoftwareSoundSystem& system_;
    std::shared_ptr<SoftwareSoundSystem::BufferState> state_;
};

class SoftwareDevice : public SoundDevice {
public:
    explicit SoftwareDevice(SoftwareSoundSystem& system) : system_(system) {
        ++system_.devicesOpen_;
    }
    ~SoftwareDevice() override { --system_.devicesOpen_; }

    int32_t CreateSoundBuffer(const SoundBufferDesc& desc,
                              std::unique_ptr<SoundBuffer>& buffer) override {
        buffer.reset();
        if (system_.failCreate)
            return DSERR_OUTOFMEMORY;
        auto state = system_.newBuffer();
        state->flags = desc.flags;
        state->primary = desc.flags & DSBCAPS_PRIMARYBUFFER;
        if (!state->primary) {
            const std::optional<PcmFormat> pcm = PcmFormat::parse(desc.format);
            if (!pcm || desc.bufferBytes == 0) {
                system_.buffers_.pop_back();
                return pcm ? DSERR_INVALIDPARAM : DSERR_BADFORMAT;
            }
            state->pcm = *pcm;
            state->samples->assign(desc.bufferBytes, pcm->bitsPerSample == 8 ? 128 : 0);
        }
        system_.record(SoftwareSoundSystem::Op::Create, state->id, desc.flags);
        buffer = std::make_unique<SoftwareBuffer>(system_, std::move(state));
        return DS_OK;
    }

    int32_t DuplicateSoundBuffer(SoundBuffer& original,
                                 std::unique_ptr<SoundBuffer>& copy) override {
        copy.reset();
        auto* source = dynamic_cast<SoftwareBuffer*>(&original);
        if (system_.failDuplicate || !source || source->state().primary)
            return DSERR_INVALIDCALL;
        if (source->state().lost)
            return DSERR_BUFFERLOST;
        auto state = system_.newBuffer();
        const auto& from = source->state();
        state->original = from.id;
        state->flags = from.flags;
        state->pcm = from.pcm;
        state->samples = from.samples; // shared, as a duplicate never copies the samples
        state->frequency = from.frequency;
        state->pan = from.pan;
        state->volume = from.volume;
        system_.record(SoftwareSoundSystem::Op::Duplicate, state->id, from.id);
        copy = std::make_unique<SoftwareBuffer>(system_, std::move(state));
        return DS_OK;
    }

    int32_t SetCooperativeLevel(QWidget*, uint32_t) override { return DS_OK; }

private:
    SoftwareSoundSystem& system_;
};

int32_t SoftwareSoundSystem::DirectSoundCreate(std::unique_ptr<SoundDevice>& device) {
    device.reset();
    if (noDevice)
        return DSERR_NODRIVER;
    device = std::make_unique<SoftwareDevice>(*this);
    return DS_OK;
}

std::shared_ptr<SoftwareSoundSystem::BufferState> SoftwareSoundSystem::newBuffer() {
    auto state = std::make_shared<BufferState>();
    state->id = int(buffers_.size());
    state->samples = std::make_shared<std::vector<uint8_t>>();
    buffers_.push_back(state);
    return state;
}

void SoftwareSoundSystem::advance(uint32_t ms) {
    const size_t outFrames = size_t(uint64_t(ms) * MixRate / 1000);
    const size_t mixStart = mixed_.size();
    if (recordMix)
        mixed_.resize(mixStart + outFrames, 0.0f);
    for (auto& b : buffers_) {
        if (!b->playing || b->released)
            continue;
        const size_t frames = b->samples->size() / std::max<uint16_t>(b->pcm.blockAlign, 1);
        const double rate = b->frequency ? b->frequency : b->pcm.samplesPerSec;
        const double step = rate / MixRate;
        const float gain = gainOfVolume(b->volume);
        for (size_t k = 0; k < outFrames && b->playing; ++k) {
            if (b->frame >= double(frames)) {
                if (b->looping && frames > 0) {
                    b->frame -= double(frames);
                } else {
                    b->playing = false;
                    b->frame = double(frames);
                    break;
                }
            }
            if (recordMix) {
                const uint8_t* p = b->samples->data() + size_t(b->frame) * b->pcm.blockAlign;
                const float sample = b->pcm.bitsPerSample == 8
                                         ? (float(p[0]) - 128.0f) / 128.0f
                                         : float(int16_t(p[0] | p[1] << 8)) / 32768.0f;
                mixed_[mixStart + k] += sample * gain;
            }
            b->frame += step;
        }
        if (b->playing && b->frame >= double(frames) && !b->looping) {
            b->playing = false;
            b->frame = double(frames);
        }
    }
}

void SoftwareSoundSystem::loseBuffers() {
    for (auto& b : buffers_)
        if (!b->released) {
            b->lost = true;
            b->playing = false;
        }
}

std::vector<SoftwareSoundSystem::Event> SoftwareSoundSystem::events(Op op) const {
    std::vector<Event> found;
    std::copy_if(events_.begin(), events_.end(), std::back_inserter(found),
                 [op](const Event& e) { return e.op == op; });
    return found;
}

std::vector<int> SoftwareSoundSystem::playingBuffers() const {
    std::vector<int> ids;
    for (const auto& b : buffers_)
        if (b->playing && !b->released)
            ids.push_back(b->id);
    return ids;
}

} // namespace quillon
