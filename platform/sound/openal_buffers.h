#pragma once
// The buffers of the OpenAL sound device: one OpenAL source per buffer, and a duplicate
// is another source on the same OpenAL buffer. Every buffer keeps what it needs to be
// made again on another device: the samples their bytes, a source its settings.
#include "platform/sound/openal_api.h"
#include "platform/sound/sound_device.h"

#include <memory>
#include <vector>

namespace quillon {

struct Samples;
class SourceBuffer;

// What a device's buffers share: the entry points, and the buffers alive on it, which
// the device moves when it has to be opened anew.
struct OpenALBuffers {
    explicit OpenALBuffers(const OpenALApi& api) : al(api) {}
    const OpenALApi& al;
    std::vector<Samples*> samples;
    std::vector<SourceBuffer*> sources;

    // Lets go of every OpenAL object on the current context (sources first).
    void detachAll();
    // Makes every object anew on the current context.
    void attachAll();
};

// The samples of one loaded sound, shared by its buffer and every duplicate of it.
struct Samples {
    Samples(std::shared_ptr<OpenALBuffers> owner, const PcmFormat& pcmFormat, uint32_t bytes);
    ~Samples();
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    void upload();
    void detach();
    void attach();

    std::shared_ptr<OpenALBuffers> owner;
    const OpenALApi& al;
    ALuint id = 0;
    ALenum format = AL_FORMAT_MONO8;
    PcmFormat pcm;
    std::vector<uint8_t> staging; // the bytes handed out by Lock; kept for a new device
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
    explicit SourceBuffer(std::shared_ptr<Samples> samples);
    ~SourceBuffer() override;
    SourceBuffer(const SourceBuffer&) = delete;
    SourceBuffer& operator=(const SourceBuffer&) = delete;

    bool valid();
    const std::shared_ptr<Samples>& samples() const { return samples_; }

    int32_t Stop() override;
    int32_t SetCurrentPosition(uint32_t bytes) override;
    int32_t SetFrequency(uint32_t hz) override;
    int32_t SetPan(int32_t hundredthsOfDb) override;
    int32_t SetVolume(int32_t hundredthsOfDb) override;
    int32_t Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    int32_t GetStatus(uint32_t& status) override;
    int32_t Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* length1, void** region2,
                 uint32_t* length2) override;
    int32_t Unlock(void* region1, uint32_t length1, void* region2, uint32_t length2) override;

    void detach();
    // The source made anew with its settings; a loop that was playing starts again (a
    // one-shot cue cut off by the loss is over).
    void attach();

private:
    ALint state();
    void applyPan();
    void applySettings();

    const OpenALApi& al_;
    std::shared_ptr<Samples> samples_;
    ALuint source_ = 0;
    float gain_ = 1.0f;
    float pitch_ = 1.0f;
    bool panned_ = false;
    float panX_ = 0.0f;
    bool looping_ = false;
    bool loopPlaying_ = false;
};

} // namespace quillon
