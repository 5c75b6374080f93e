#include "platform/sound/software_mixer.h"

#include "platform/sound/sound_device.h"
#include "platform/sound/wave.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// Positions in a sound are counted in 1/4096 of its samples, as OpenAL Soft counts them;
// the rounding of the step is its rounding too, so that long sounds stay in step.
constexpr int FractionBits = 12;
constexpr int64_t FractionOne = int64_t(1) << FractionBits;
constexpr float FractionScale = 1.0f / float(FractionOne);

float sampleAt(const uint8_t* data, int bits, int64_t index) {
    if (bits == 8)
        return float(int(data[index]) - 128) * (1.0f / 128.0f);
    const auto low = uint16_t(data[2 * index]);
    const auto high = uint16_t(data[2 * index + 1]);
    return float(int16_t(uint16_t(low | (high << 8)))) * (1.0f / 32768.0f);
}

int16_t toShort(float value) {
    return int16_t(std::lrint(std::clamp(value * 32768.0f, -32768.0f, 32767.0f)));
}

} // namespace

SoftwareMixer::SoftwareMixer(int rate, int channels)
    : rate_(std::max(rate, 1)), channels_(channels == 1 ? 1 : 2),
      release_(1.0f - std::exp(-1.0f / (float(ReleaseSeconds) * float(rate_)))) {}

void SoftwareMixer::addSound(const QString& name, const TWave& wave) {
    std::shared_ptr<const Sound>& slot = sounds_[name.toLower()];
    slot.reset();
    const std::optional<PcmFormat> pcm = PcmFormat::parse(wave.format());
    if (!pcm || pcm->channels > 2 || wave.dataSize() <= 0)
        return;
    // Whole sample frames only; a trailing part of one is not played.
    const int64_t length = wave.dataSize() / pcm->blockAlign;
    if (length <= 0)
        return;
    auto sound = std::make_shared<Sound>();
    sound->left.resize(size_t(length));
    if (pcm->channels == 2)
        sound->right.resize(size_t(length));
    for (int64_t i = 0; i < length; ++i) {
        sound->left[size_t(i)] = sampleAt(wave.data(), pcm->bitsPerSample, i * pcm->channels);
        if (pcm->channels == 2)
            sound->right[size_t(i)] = sampleAt(wave.data(), pcm->bitsPerSample, i * 2 + 1);
    }
    const float pitch = float(pcm->samplesPerSec) / float(rate_);
    sound->step = std::clamp<int64_t>(std::lrint(pitch * float(FractionOne)), 1, 255 * FractionOne);
    // The last output frame is the last one whose position is still inside the sound.
    sound->frames = (length * FractionOne + sound->step - 1) / sound->step;
    slot = std::move(sound);
}

void SoftwareMixer::startCue(const QString& name, int64_t sample, int32_t volume) {
    const auto found = sounds_.find(name.toLower());
    if (found == sounds_.end())
        raiseUnknownCue(name);
    if (!found->second)
        return;
    voices_.push_back(Voice{found->second, std::max(sample, position_), gainOfVolume(volume)});
}

void SoftwareMixer::renderUntil(int64_t endSample, std::vector<int16_t>& out) {
    // In slices, so that the scratch stays small however far one call goes.
    constexpr int64_t Slice = 1 << 14;
    std::vector<float> left, right;
    while (position_ < endSample) {
        const int64_t n = std::min(endSample - position_, Slice);
        left.assign(size_t(n), 0.0f);
        right.assign(size_t(n), 0.0f);
        for (const Voice& voice : voices_)
            mixVoice(voice, position_, n, left.data(), right.data());
        for (int64_t i = 0; i < n; ++i) {
            const float gain =
                limit(std::max(std::abs(left[size_t(i)]), std::abs(right[size_t(i)])));
            out.push_back(toShort(left[size_t(i)] * gain));
            if (channels_ == 2)
                out.push_back(toShort(right[size_t(i)] * gain));
        }
        position_ += n;
        std::erase_if(voices_,
                      [this](const Voice& v) { return v.start + v.sound->frames <= position_; });
    }
}

// Cues loud enough together to pass full scale are turned down at once rather than
// clipped, then let back up within a few hundredths of a second: on the program's
// sounds that comes close to OpenAL Soft's limiter. Below full scale nothing changes.
float SoftwareMixer::limit(float peak) {
    limiterGain_ += (1.0f - limiterGain_) * release_;
    constexpr float FullScale = 32767.0f / 32768.0f;
    if (peak * limiterGain_ > FullScale)
        limiterGain_ = FullScale / peak;
    return limiterGain_;
}

// Adds the voice's part of the frames [from, from + count) to the scratch sides.
void SoftwareMixer::mixVoice(const Voice& voice, int64_t from, int64_t count, float* left,
                             float* right) {
    const Sound& sound = *voice.sound;
    const auto length = int64_t(sound.left.size());
    const bool stereo = !sound.right.empty();
    // A mono sound sits straight ahead, a stereo one's sides go to their own.
    const float gain = stereo ? voice.gain : voice.gain * CentreGain;
    const int64_t end = std::min(voice.start + sound.frames, from + count);
    for (int64_t t = std::max(voice.start, from); t < end; ++t) {
        // Linear between a sample and the next, silence after the last.
        const int64_t at = (t - voice.start) * sound.step;
        const int64_t index = at >> FractionBits;
        const float fraction = float(at & (FractionOne - 1)) * FractionScale;
        const auto lerp = [&](const std::vector<float>& side) {
            const float a = side[size_t(index)];
            const float b = index + 1 < length ? side[size_t(index + 1)] : 0.0f;
            return a + (b - a) * fraction;
        };
        const float l = lerp(sound.left);
        left[t - from] += l * gain;
        right[t - from] += (stereo ? lerp(sound.right) : l) * gain;
    }
}

void SoftwareMixer::finish(int64_t endSample, std::vector<int16_t>& out) {
    renderUntil(endSample, out);
    voices_.clear();
}

} // namespace quillon
