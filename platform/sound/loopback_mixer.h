#pragma once
// The program's sounds mixed offline: OpenAL Soft renders into memory through its
// loopback device (16-bit stereo at the rate asked, or one side of it as mono) instead
// of playing on a sound card, and each cue starts on its exact sample. The library is
// loaded at run time, like the player's.
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace quillon {

class TWave;
struct OpenALApi;

class LoopbackMixer {
public:
    static constexpr int SampleRate = 48000;
    static constexpr int Channels = 2;

    // Opens the loopback device on the calling thread, which must then make every call.
    // channels: 1 or 2. Raises "%s を読み込めません" without the library, and a plain
    // error when it cannot render offline.
    explicit LoopbackMixer(int rate = SampleRate, int channels = Channels);
    ~LoopbackMixer();
    LoopbackMixer(const LoopbackMixer&) = delete;
    LoopbackMixer& operator=(const LoopbackMixer&) = delete;

    // Makes a sound known by name (compared without regard to letter case). A wave
    // without playable PCM samples is kept as a silent sound.
    void addSound(const QString& name, const TWave& wave);

    // Starts the sound at the sample index, at a volume in hundredths of a decibel
    // (0 full, negative quieter), as the player's volume does. Cues may be given in
    // any order before they are rendered; one whose sample has already been rendered
    // starts with the next sample. Raises "Wave '%s' が見つかりません" for an unknown name.
    void startCue(const QString& name, int64_t sample, int32_t volume = 0);

    // Every cue that starts before endSample has been given: mixes up to there and
    // appends to out, as 16-bit frames (left and right interleaved), the part of the mix that
    // is final. The device's limiter looks a little ahead, so that part may end a few
    // samples short of endSample.
    void renderUntil(int64_t endSample, std::vector<int16_t>& out);
    // No more cues: appends the rest of the mix up to endSample exactly.
    void finish(int64_t endSample, std::vector<int16_t>& out);
    // Frames appended to out so far.
    int64_t outputPosition() const { return output_; }
    int rate() const { return rate_; }
    int channels() const { return channels_; }

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
