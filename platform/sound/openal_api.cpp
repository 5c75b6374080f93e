#include "platform/sound/openal_api.h"

#include "platform/core/library_loader.h"

#include <QString>

namespace quillon {

namespace {

template <typename F> void fetch(F& fn, const char* name) {
    fn = reinterpret_cast<F>(LoadPlatformFunction(QString::fromLatin1(OpenALLibraryName), name));
}

OpenALApi load() {
    OpenALApi a{};
    fetch(a.alcOpenDevice, "alcOpenDevice");
    fetch(a.alcCloseDevice, "alcCloseDevice");
    fetch(a.alcCreateContext, "alcCreateContext");
    fetch(a.alcDestroyContext, "alcDestroyContext");
    fetch(a.alcMakeContextCurrent, "alcMakeContextCurrent");
    fetch(a.alcIsExtensionPresent, "alcIsExtensionPresent");
    fetch(a.alcGetIntegerv, "alcGetIntegerv");
    fetch(a.alGetError, "alGetError");
    fetch(a.alGenBuffers, "alGenBuffers");
    fetch(a.alDeleteBuffers, "alDeleteBuffers");
    fetch(a.alBufferData, "alBufferData");
    fetch(a.alGenSources, "alGenSources");
    fetch(a.alDeleteSources, "alDeleteSources");
    fetch(a.alSourcei, "alSourcei");
    fetch(a.alSourcef, "alSourcef");
    fetch(a.alSource3f, "alSource3f");
    fetch(a.alGetSourcei, "alGetSourcei");
    fetch(a.alSourcePlay, "alSourcePlay");
    fetch(a.alSourceStop, "alSourceStop");
    fetch(a.alSourceRewind, "alSourceRewind");
    return a;
}

} // namespace

const OpenALApi& OpenALApi::get() {
    static const OpenALApi api = load();
    return api;
}

} // namespace quillon
