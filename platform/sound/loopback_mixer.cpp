#include "platform/sound/loopback_mixer.h"

#include "platform/core/error.h"
#include "platform/sound/openal_api.h"
#include "platform/sound/sound_device.h"
#include "platform/sound/wave.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>

namespace quillon {

namespace {
[[noreturn]] void cannotRender() {
    throw Exception(QCoreApplication::translate(
        "Errors", "OpenAL Soft で音を書き出せません (ALC_SOFT_loopback)"));
}
} // namespace

LoopbackMixer::LoopbackMixer(int rate, int channels)
    : al_(OpenALApi::get()), rate_(rate), channels_(channels == 1 ? 1 : 2) {
    open();
    delay_ = measureDelay();
}

void LoopbackMixer::open() {
    // The context is made current for this thread only, so a player that is sounding
    // on the real device at the same time keeps its own.
    if (!al_.alcLoopbackOpenDeviceSOFT || !al_.alcIsRenderFormatSupportedSOFT ||
        !al_.alcRenderSamplesSOFT || !al_.alcSetThreadContext)
        cannotRender();
    ALCdevice* device = al_.alcLoopbackOpenDeviceSOFT(nullptr);
    if (!device)
        cannotRender();
    device_ = device;
    // Always mixed in stereo: a mono device would mix a sound straight ahead louder than
    // each side of the stereo mix, and the exported levels must not depend on it.
    if (!al_.alcIsRenderFormatSupportedSOFT(device, rate_, ALC_STEREO_SOFT, ALC_SHORT_SOFT)) {
        al_.alcCloseDevice(device);
        cannotRender();
    }
    const ALCint attributes[] = {ALC_FREQUENCY,
                                 rate_,
                                 ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 0};
    ALCcontext* context = al_.alcCreateContext(device, attributes);
    if (!context || !al_.alcSetThreadContext(context)) {
        if (context)
            al_.alcDestroyContext(context);
        al_.alcCloseDevice(device);
        cannotRender();
    }
    context_ = context;
}

// The device's output limiter looks ahead and so holds every sound back by a few
// frames. One quiet tick, played and rendered before anything else, tells how many;
// the mix is then shifted back by that much so that a cue sounds on its own sample.
int64_t LoopbackMixer::measureDelay() {
    constexpr int ProbeFrames = 32;
    constexpr int Window = 4096;
    int16_t probe[ProbeFrames] = {8000};
    ALuint buffer = 0;
    al_.alGenBuffers(1, &buffer);
    al_.alBufferData(buffer, AL_FORMAT_MONO16, probe, sizeof probe, rate_);
    play(Cue{0, buffer, 1.0f});
    std::vector<int16_t> heard(size_t(Window) * Channels);
    al_.alcRenderSamplesSOFT(static_cast<ALCdevice*>(device_), heard.data(), Window);
    // The output is dithered: silence there is a level of one or two, not zero.
    const auto loud = [&](int64_t frame) {
        return std::abs(heard[size_t(frame) * Channels]) > 1000 ||
               std::abs(heard[size_t(frame) * Channels + 1]) > 1000;
    };
    int64_t delay = 0;
    while (delay < Window && !loud(delay))
        ++delay;
    for (ALuint source : sources_)
        al_.alSourcei(source, AL_BUFFER, 0);
    al_.alDeleteBuffers(1, &buffer);
    // Nothing heard at all: no shift.
    return delay == Window ? 0 : delay;
}

LoopbackMixer::~LoopbackMixer() {
    for (ALuint source : sources_) {
        al_.alSourceStop(source);
        al_.alDeleteSources(1, &source);
    }
    for (auto& [name, buffer] : buffers_)
        if (buffer)
            al_.alDeleteBuffers(1, &buffer);
    al_.alcSetThreadContext(nullptr);
    al_.alcDestroyContext(static_cast<ALCcontext*>(context_));
    al_.alcCloseDevice(static_cast<ALCdevice*>(device_));
}

void LoopbackMixer::addSound(const QString& name, const TWave& wave) {
    ALuint& buffer = buffers_[name.toLower()];
    if (buffer)
        al_.alDeleteBuffers(1, &buffer);
    buffer = 0;
    const std::optional<PcmFormat> pcm = PcmFormat::parse(wave.format());
    if (!pcm || pcm->channels > 2)
        return;
    // OpenAL takes whole sample frames only.
    const ALsizei bytes = ALsizei(wave.dataSize() / pcm->blockAlign * pcm->blockAlign);
    if (bytes <= 0)
        return;
    const ALenum format = pcm->channels == 1
                              ? (pcm->bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16)
                              : (pcm->bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16);
    al_.alGetError();
    al_.alGenBuffers(1, &buffer);
    al_.alBufferData(buffer, format, wave.data(), bytes, ALsizei(pcm->samplesPerSec));
    if (al_.alGetError() != AL_NO_ERROR) {
        al_.alDeleteBuffers(1, &buffer);
        buffer = 0;
    }
}

void LoopbackMixer::startCue(const QString& name, int64_t sample, int32_t volume) {
    const auto found = buffers_.find(name.toLower());
    if (found == buffers_.end())
        raiseUnknownCue(name);
    if (!found->second)
        return;
    const Cue cue{std::max(sample, position_), found->second, gainOfVolume(volume)};
    // After every cue of the same sample, so that equal starts keep their order.
    const auto at = std::upper_bound(pending_.begin(), pending_.end(), cue.sample,
                                     [](int64_t s, const Cue& c) { return s < c.sample; });
    pending_.insert(at, cue);
}

void LoopbackMixer::renderUntil(int64_t endSample, std::vector<int16_t>& out) {
    if (endSample <= position_)
        return;
    size_t next = 0;
    // Mix up to each cue's sample, start it, mix on.
    for (; next < pending_.size() && pending_[next].sample < endSample; ++next) {
        renderDevice(pending_[next].sample - position_, out);
        play(pending_[next]);
    }
    pending_.erase(pending_.begin(), pending_.begin() + ptrdiff_t(next));
    renderDevice(endSample - position_, out);
}

void LoopbackMixer::finish(int64_t endSample, std::vector<int16_t>& out) {
    renderUntil(endSample, out);
    pending_.clear();
    // The held-back frames come out while the device mixes on past the end.
    renderDevice(std::max<int64_t>(0, endSample + delay_ - position_), out);
    if (output_ > endSample) {
        out.resize(out.size() - size_t(output_ - endSample) * size_t(channels_));
        output_ = endSample;
    }
}

void LoopbackMixer::renderDevice(int64_t frames, std::vector<int16_t>& out) {
    // In slices, so that the count always fits the library's int.
    constexpr int64_t Slice = 1 << 16;
    std::vector<int16_t> scratch;
    while (frames > 0) {
        const int64_t n = std::min(frames, Slice);
        scratch.resize(size_t(n) * Channels);
        al_.alcRenderSamplesSOFT(static_cast<ALCdevice*>(device_), scratch.data(), ALCsizei(n));
        // The first delay_ frames come before sample 0 of the output.
        const int64_t skip = std::clamp<int64_t>(delay_ - position_, 0, n);
        if (channels_ == Channels) {
            out.insert(out.end(), scratch.begin() + ptrdiff_t(skip * Channels), scratch.end());
        } else {
            // Nothing is panned, so both sides are the same: one of them is the mono mix.
            for (int64_t i = skip; i < n; ++i)
                out.push_back(scratch[size_t(i) * Channels]);
        }
        output_ += n - skip;
        position_ += n;
        frames -= n;
    }
}

void LoopbackMixer::play(const Cue& cue) {
    const ALuint source = idleSource();
    if (!source)
        return;
    al_.alSourcei(source, AL_BUFFER, ALint(cue.buffer));
    al_.alSourcef(source, AL_GAIN, cue.gain);
    // Where the player puts a sound it does not pan: straight ahead.
    al_.alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    al_.alSource3f(source, AL_POSITION, 0.0f, 0.0f, -1.0f);
    al_.alSourcePlay(source);
}

ALuint LoopbackMixer::idleSource() {
    for (ALuint source : sources_) {
        ALint state = AL_PLAYING;
        al_.alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            return source;
    }
    al_.alGetError();
    ALuint source = 0;
    al_.alGenSources(1, &source);
    // Out of sources: the cue is dropped rather than cutting one that sounds.
    if (al_.alGetError() != AL_NO_ERROR)
        return 0;
    sources_.push_back(source);
    return source;
}

} // namespace quillon
