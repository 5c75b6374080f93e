#pragma once
// The program's own cue mixer, for where OpenAL Soft is missing: the same levels, the
// same linear resampling and the same cue timing as its loopback device, so that a
// file's sound does not depend on which of the two made it.
#include "platform/sound/cue_mixer.h"

#include <map>

namespace quillon {

class SoftwareMixer : public CueMixer {
public:
    // The level OpenAL Soft gives a mono sound straight ahead on each side of its
    // stereo mix (measured on its loopback device).
    static constexpr float CentreGain = 0.59563f;

    explicit SoftwareMixer(int rate = SampleRate, int channels = Channels);

    void addSound(const QString& name, const TWave& wave) override;
    void startCue(const QString& name, int64_t sample, int32_t volume = 0) override;
    // Everything up to endSample is final here: nothing looks ahead.
    void renderUntil(int64_t endSample, std::vector<int16_t>& out) override;
    void finish(int64_t endSample, std::vector<int16_t>& out) override;
    int64_t outputPosition() const override { return position_; }
    int rate() const override { return rate_; }
    int channels() const override { return channels_; }

private:
    static constexpr double ReleaseSeconds = 0.02;

    struct Sound {
        std::vector<float> left, right; // right empty for a mono sound
        int64_t step = 0;               // source samples per output frame, in 1/4096
        int64_t frames = 0;             // its length in output frames
    };
    struct Voice {
        std::shared_ptr<const Sound> sound;
        int64_t start;
        float gain;
    };
    float limit(float peak);
    static void mixVoice(const Voice& voice, int64_t from, int64_t count, float* left,
                         float* right);

    int rate_;
    int channels_;
    std::map<QString, std::shared_ptr<const Sound>> sounds_; // lower-cased name; null: silent
    std::vector<Voice> voices_;                              // waiting or sounding
    int64_t position_ = 0;
    float release_;
    float limiterGain_ = 1.0f;
};

} // namespace quillon
