#include "platform/sound/openal_buffers.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {
int32_t resultOf(const OpenALApi& al) {
    return al.alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
}
} // namespace

// ---- OpenALBuffers

void OpenALBuffers::detachAll() {
    for (SourceBuffer* source : sources)
        source->detach();
    for (Samples* s : samples)
        s->detach();
}

void OpenALBuffers::attachAll() {
    for (Samples* s : samples)
        s->attach();
    for (SourceBuffer* source : sources)
        source->attach();
}

// ---- Samples

Samples::Samples(std::shared_ptr<OpenALBuffers> buffers, const PcmFormat& pcmFormat, uint32_t bytes)
    : owner(std::move(buffers)), al(owner->al), pcm(pcmFormat) {
    format = pcm.channels == 1 ? (pcm.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16)
                               : (pcm.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16);
    staging.assign(bytes, pcm.bitsPerSample == 8 ? 128 : 0);
    al.alGenBuffers(1, &id);
    owner->samples.push_back(this);
}

Samples::~Samples() {
    std::erase(owner->samples, this);
    al.alDeleteBuffers(1, &id);
}

void Samples::upload() {
    // OpenAL takes whole sample frames only.
    const size_t frames = staging.size() / pcm.blockAlign;
    al.alBufferData(id, format, staging.data(), ALsizei(frames * pcm.blockAlign),
                    ALsizei(pcm.samplesPerSec));
    uploaded = true;
}

void Samples::detach() {
    al.alDeleteBuffers(1, &id);
    id = 0;
}

void Samples::attach() {
    al.alGenBuffers(1, &id);
    if (uploaded)
        upload();
}

// ---- SourceBuffer

SourceBuffer::SourceBuffer(std::shared_ptr<Samples> samples)
    : al_(samples->al), samples_(std::move(samples)) {
    al_.alGenSources(1, &source_);
    if (samples_->uploaded)
        al_.alSourcei(source_, AL_BUFFER, ALint(samples_->id));
    samples_->owner->sources.push_back(this);
}

SourceBuffer::~SourceBuffer() {
    std::erase(samples_->owner->sources, this);
    al_.alSourceStop(source_);
    al_.alDeleteSources(1, &source_);
}

bool SourceBuffer::valid() {
    return al_.alGetError() == AL_NO_ERROR && source_ != 0;
}

ALint SourceBuffer::state() {
    ALint value = AL_STOPPED;
    al_.alGetSourcei(source_, AL_SOURCE_STATE, &value);
    return value;
}

int32_t SourceBuffer::Stop() {
    loopPlaying_ = false;
    al_.alSourceStop(source_);
    return resultOf(al_);
}

int32_t SourceBuffer::SetCurrentPosition(uint32_t bytes) {
    if (bytes == 0 && state() != AL_PLAYING)
        al_.alSourceRewind(source_);
    else
        al_.alSourcei(source_, AL_BYTE_OFFSET,
                      ALint(std::min<uint32_t>(bytes, uint32_t(samples_->staging.size()))));
    return resultOf(al_);
}

int32_t SourceBuffer::SetFrequency(uint32_t hz) {
    pitch_ =
        hz == 0 ? 1.0f : std::clamp(float(hz) / float(samples_->pcm.samplesPerSec), 0.01f, 8.0f);
    al_.alSourcef(source_, AL_PITCH, pitch_);
    return resultOf(al_);
}

int32_t SourceBuffer::SetPan(int32_t hundredthsOfDb) {
    // A listener-relative position on a half circle in front: left, centre or right.
    panned_ = true;
    panX_ = std::clamp(float(hundredthsOfDb) / float(DSBPAN_RIGHT), -1.0f, 1.0f);
    applyPan();
    return resultOf(al_);
}

int32_t SourceBuffer::SetVolume(int32_t hundredthsOfDb) {
    if (hundredthsOfDb < DSBVOLUME_MIN || hundredthsOfDb > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    gain_ = gainOfVolume(hundredthsOfDb);
    al_.alSourcef(source_, AL_GAIN, gain_);
    return resultOf(al_);
}

int32_t SourceBuffer::Play(uint32_t, uint32_t, uint32_t flags) {
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    al_.alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
    if (samples_->uploaded)
        al_.alSourcePlay(source_);
    loopPlaying_ = looping_ && samples_->uploaded;
    return resultOf(al_);
}

int32_t SourceBuffer::GetStatus(uint32_t& status) {
    status = 0;
    if (state() == AL_PLAYING) {
        ALint looping = AL_FALSE;
        al_.alGetSourcei(source_, AL_LOOPING, &looping);
        status = DSBSTATUS_PLAYING | (looping ? DSBSTATUS_LOOPING : 0);
    }
    return resultOf(al_);
}

int32_t SourceBuffer::Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* length1,
                           void** region2, uint32_t* length2) {
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

int32_t SourceBuffer::Unlock(void*, uint32_t, void*, uint32_t) {
    al_.alSourcei(source_, AL_BUFFER, 0);
    samples_->upload();
    al_.alSourcei(source_, AL_BUFFER, ALint(samples_->id));
    return resultOf(al_);
}

void SourceBuffer::detach() {
    al_.alSourceStop(source_);
    al_.alDeleteSources(1, &source_);
    source_ = 0;
}

void SourceBuffer::applyPan() {
    al_.alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    al_.alSource3f(source_, AL_POSITION, panX_, 0.0f, -std::sqrt(1.0f - panX_ * panX_));
}

void SourceBuffer::applySettings() {
    if (samples_->uploaded)
        al_.alSourcei(source_, AL_BUFFER, ALint(samples_->id));
    al_.alSourcef(source_, AL_GAIN, gain_);
    al_.alSourcef(source_, AL_PITCH, pitch_);
    if (panned_)
        applyPan();
    al_.alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
}

void SourceBuffer::attach() {
    al_.alGenSources(1, &source_);
    applySettings();
    if (loopPlaying_)
        al_.alSourcePlay(source_);
}

} // namespace quillon
