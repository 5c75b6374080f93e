#include "platform/sound/openal_device.h"

#include "platform/sound/openal_api.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quillon {

namespace {

int32_t resultOf(const OpenALApi& al) {
    return al.alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
}

// The samples of one loaded sound, shared by its buffer and every duplicate of it.
struct Samples {
    explicit Samples(const OpenALApi& al) : al(al) { al.alGenBuffers(1, &id); }
    ~Samples() { al.alDeleteBuffers(1, &id); }
    const OpenALApi& al;
    ALuint id = 0;
    ALenum format = AL_FORMAT_MONO8;
    PcmFormat pcm;
    std::vector<uint8_t> staging; // the bytes handed out by Lock until Unlock uploads them
    bool uploaded = false;
};

// The device's primary buffer: the device mixes by itself, so this only answers.
class PrimaryBuffer : public SoundBuffer {
public:
    int32_t Stop() override { return DS_OK; }
    int32_t SetCurrentPosition(uint32_t) override { return DS_OK; }
    int32_t SetFrequency(uint32_t) override { return DSERR_INVALIDCALL; }
    int32_t SetPan(int32_t) override { return DS_OK; }
    int32_t SetVolume(int32_t) override { return DS_OK; }
    int32_t Play(uint32_t, uint32_t, uint32_t) override { return DS_OK; }
    int32_t GetStatus(uint32_t& status) override {
        status = 0;
        return DS_OK;
    }
    int32_t Lock(uint32_t, uint32_t, void**, uint32_t*, void**, uint32_t*) override {
        return DSERR_INVALIDCALL;
    }
    int32_t Unlock(void*, uint32_t, void*, uint32_t) override { return DSERR_INVALIDCALL; }
};

class SourceBuffer : public SoundBuffer {
public:
    explicit SourceBuffer(std::shared_ptr<Samples> samples)
        : al_(samples->al), samples_(std::move(samples)) {
        al_.alGenSources(1, &source_);
        if (samples_->uploaded)
            al_.alSourcei(source_, AL_BUFFER, ALint(samples_->id));
    }
    ~SourceBuffer() override {
        al_.alSourceStop(source_);
        al_.alDeleteSources(1, &source_);
    }
    bool valid() { return al_.alGetError() == AL_NO_ERROR && source_ != 0; }
    const std::shared_ptr<Samples>& samples() const { return samples_; }

    int32_t Stop() override {
        al_.alSourceStop(source_);
        return resultOf(al_);
    }
    int32_t SetCurrentPosition(uint32_t bytes) override {
        if (bytes == 0 && state() != AL_PLAYING)
            al_.alSourceRewind(source_);
        else
            al_.alSourcei(source_, AL_BYTE_OFFSET,
                          ALint(std::min<uint32_t>(bytes, samples_->staging.size())));
        return resultOf(al_);
    }
    int32_t SetFrequency(uint32_t hz) override {
        const float pitch =
            hz == 0 ? 1.0f
                    : std::clamp(float(hz) / float(samples_->pcm.samplesPerSec), 0.01f, 8.0f);
        al_.alSourcef(source_, AL_PITCH, pitch);
        return resultOf(al_);
    }
    int32_t SetPan(int32_t hundredthsOfDb) override {
        // A listener-relative position on a half circle in front: left, centre or right.
        const float x = std::clamp(float(hundredthsOfDb) / float(DSBPAN_RIGHT), -1.0f, 1.0f);
        al_.alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        al_.alSource3f(source_, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
        return resultOf(al_);
    }
    int32_t SetVolume(int32_t hundredthsOfDb) override {
        if (hundredthsOfDb < DSBVOLUME_MIN || hundredthsOfDb > DSBVOLUME_MAX)
            return DSERR_INVALIDPARAM;
        al_.alSourcef(source_, AL_GAIN, gainOfVolume(hundredthsOfDb));
        return resultOf(al_);
    }
    int32_t Play(uint32_t, uint32_t, uint32_t flags) override {
        al_.alSourcei(source_, AL_LOOPING, (flags & DSBPLAY_LOOPING) ? AL_TRUE : AL_FALSE);
        if (samples_->uploaded)
            al_.alSourcePlay(source_);
        return resultOf(al_);
    }
    int32_t GetStatus(uint32_t& status) override {
        status = 0;
        if (state() == AL_PLAYING) {
            ALint looping = AL_FALSE;
            al_.alGetSourcei(source_, AL_LOOPING, &looping);
            status = DSBSTATUS_PLAYING | (looping ? DSBSTATUS_LOOPING : 0);
        }
        return resultOf(al_);
    }
    int32_t Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* length1, void** region2,
                 uint32_t* length2) override {
        auto& staging = samples_->staging;
        // Samples shared with duplicates are not rewritten under them.
        if (samples_.use_count() > 1 || offset > staging.size() || bytes > staging.size() - offset)
            return DSERR_INVALIDPARAM;
        *region1 = staging.data() + offset;
        *length1 = bytes;
        if (region2)
            *region2 = nullptr;
        if (length2)
            *length2 = 0;
        return DS_OK;
    }
    int32_t Unlock(void*, uint32_t, void*, uint32_t) override {
        Samples& s = *samples_;
        al_.alSourcei(source_, AL_BUFFER, 0);
        // OpenAL takes whole sample frames only.
        const size_t frames = s.staging.size() / s.pcm.blockAlign;
        al_.alBufferData(s.id, s.format, s.staging.data(), ALsizei(frames * s.pcm.blockAlign),
                         ALsizei(s.pcm.samplesPerSec));
        al_.alSourcei(source_, AL_BUFFER, ALint(s.id));
        s.uploaded = true;
        return resultOf(al_);
    }

private:
    ALint state() {
        ALint value = AL_STOPPED;
        al_.alGetSourcei(source_, AL_SOURCE_STATE, &value);
        return value;
    }

    const OpenALApi& al_;
    std::shared_ptr<Samples> samples_;
    ALuint source_ = 0;
};

class OpenALDevice : public SoundDevice {
public:
    OpenALDevice(const OpenALApi& al, ALCdevice* device, ALCcontext* context)
        : al_(al), device_(device), context_(context) {}
    ~OpenALDevice() override {
        al_.alcMakeContextCurrent(nullptr);
        al_.alcDestroyContext(context_);
        al_.alcCloseDevice(device_);
    }

    int32_t CreateSoundBuffer(const SoundBufferDesc& desc,
                              std::unique_ptr<SoundBuffer>& buffer) override {
        buffer.reset();
        if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
            buffer = std::make_unique<PrimaryBuffer>();
            return DS_OK;
        }
        const std::optional<PcmFormat> pcm = PcmFormat::parse(desc.format);
        if (!pcm || pcm->channels > 2)
            return DSERR_BADFORMAT;
        if (desc.bufferBytes == 0)
            return DSERR_INVALIDPARAM;
        al_.alGetError();
        auto samples = std::make_shared<Samples>(al_);
        samples->pcm = *pcm;
        samples->format = pcm->channels == 1
                              ? (pcm->bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16)
                              : (pcm->bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16);
        samples->staging.assign(desc.bufferBytes, pcm->bitsPerSample == 8 ? 128 : 0);
        auto source = std::make_unique<SourceBuffer>(std::move(samples));
        if (!source->valid())
            return DSERR_OUTOFMEMORY;
        buffer = std::move(source);
        return DS_OK;
    }

    int32_t DuplicateSoundBuffer(SoundBuffer& original,
                                 std::unique_ptr<SoundBuffer>& copy) override {
        copy.reset();
        auto* source = dynamic_cast<SourceBuffer*>(&original);
        if (!source)
            return DSERR_INVALIDCALL;
        al_.alGetError();
        auto duplicate = std::make_unique<SourceBuffer>(source->samples());
        if (!duplicate->valid())
            return DSERR_OUTOFMEMORY;
        copy = std::move(duplicate);
        return DS_OK;
    }

    // OpenAL has no focus: every source is heard whichever window is active.
    int32_t SetCooperativeLevel(QWidget*, uint32_t) override { return DS_OK; }

private:
    const OpenALApi& al_;
    ALCdevice* device_;
    ALCcontext* context_;
};

} // namespace

int32_t OpenALSoundSystem::DirectSoundCreate(std::unique_ptr<SoundDevice>& device) {
    device.reset();
    const OpenALApi& al = OpenALApi::get();
    ALCdevice* alcDevice = al.alcOpenDevice(nullptr);
    if (!alcDevice)
        return DSERR_NODRIVER;
    ALCcontext* context = al.alcCreateContext(alcDevice, nullptr);
    if (!context || !al.alcMakeContextCurrent(context)) {
        if (context)
            al.alcDestroyContext(context);
        al.alcCloseDevice(alcDevice);
        return DSERR_NODRIVER;
    }
    device = std::make_unique<OpenALDevice>(al, alcDevice, context);
    return DS_OK;
}

} // namespace quillon
