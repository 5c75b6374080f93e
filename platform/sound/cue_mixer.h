#pragma once
// The program's sounds mixed offline for an exported card: each cue starts on its exact
// sample, and the mix comes out as 16-bit frames at the rate asked, in stereo or mono
// (mono being one side of the stereo mix, at the same level).
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class TWave;

class CueMixer {
public:
    static constexpr int SampleRate = 48000;
    static constexpr int Channels = 2;

    virtual ~CueMixer() = default;

    // Makes a sound known by name (compared without regard to letter case). A wave
    // without playable PCM samples is kept as a silent sound.
    virtual void addSound(const QString& name, const TWave& wave) = 0;

    // Starts the sound at the sample index, at a volume in hundredths of a decibel
    // (0 full, negative quieter), as the player's volume does. Cues may be given in
    // any order before they are rendered; one whose sample has already been rendered
    // starts with the next sample. Raises "Wave '%s' が見つかりません" for an unknown name.
    virtual void startCue(const QString& name, int64_t sample, int32_t volume = 0) = 0;

    // Every cue that starts before endSample has been given: mixes up to there and
    // appends to out, as 16-bit frames (left and right interleaved), the part of the mix
    // that is final. That part may end a few samples short of endSample.
    virtual void renderUntil(int64_t endSample, std::vector<int16_t>& out) = 0;
    // No more cues: appends the rest of the mix up to endSample exactly.
    virtual void finish(int64_t endSample, std::vector<int16_t>& out) = 0;
    // Frames appended to out so far.
    virtual int64_t outputPosition() const = 0;
    virtual int rate() const = 0;
    virtual int channels() const = 0;
};

// OpenAL Soft's loopback device where the library loads and can render offline; the
// program's own mixer, which sounds the same, everywhere else. channels: 1 or 2.
std::unique_ptr<CueMixer> makeCueMixer(int rate = CueMixer::SampleRate,
                                       int channels = CueMixer::Channels);

// The raised error's message for a cue of a name no sound has.
[[noreturn]] void raiseUnknownCue(const QString& name);

} // namespace quillon
