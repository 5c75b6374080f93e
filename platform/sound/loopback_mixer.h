#pragma once
// The cues mixed offline by OpenAL Soft: it renders into memory through its loopback
// device (16-bit stereo at the rate asked, or one side of it as mono) instead of playing
// on a sound card. The library is loaded at run time, like the player's.
#include "platform/sound/cue_mixer.h"

#include <map>

namespace quillon {

struct OpenALApi;

class LoopbackMixer : public CueMixer {
public:
    // Opens the loopback device on the calling thread, which must then make every call.
    // channels: 1 or 2. Raises "%s を読み込めません" without the library, and a plain
    // error when it cannot render offline.
    explicit LoopbackMixer(int rate = SampleRate, int channels = Channels);
    ~LoopbackMixer() override;
    LoopbackMixer(const LoopbackMixer&) = delete;
    LoopbackMixer& operator=(const LoopbackMixer&) = delete;

    void addSound(const QString& name, const TWave& wave) override;
    void startCue(const QString& name, int64_t sample, int32_t volume = 0) override;
    // The device's limiter looks a little ahead, so the final part of the mix ends a few
    // samples short of endSample.
    void renderUntil(int64_t endSample, std::vector<int16_t>& out) override;
    void finish(int64_t endSample, std::vector<int16_t>& out) override;
    int64_t outputPosition() const override { return output_; }
    int rate() const override { return rate_; }
    int channels() const override { return channels_; }

private:
    struct Cue {
        int64_t sample;
        uint32_t buffer;
        float gain;
    };
    void open();
    int64_t measureDelay();
    void renderDevice(int64_t frames, std::vector<int16_t>& out);
    void play(const Cue& cue);
    uint32_t idleSource();

    const OpenALApi& al_;
    int rate_;
    int channels_;
    void* device_ = nullptr;
    void* context_ = nullptr;
    std::map<QString, uint32_t> buffers_; // lower-cased name -> OpenAL buffer (0: silent)
    std::vector<uint32_t> sources_;
    std::vector<Cue> pending_; // sorted by sample
    int64_t position_ = 0;     // frames the device has mixed on the cues' time line
    int64_t delay_ = 0;        // frames between a start and its first sound in the output
    int64_t output_ = 0;
};

} // namespace quillon
