#include "platform/sound/openal_api.h"

#include "platform/core/library_loader.h"

#include <QString>

namespace quillon {

namespace {

template <typename F> void fetch(F& fn, const char* name) {
    fn = reinterpret_cast<F>(LoadPlatformFunction(QString::fromLatin1(OpenALLibraryName), name));
}

template <typename F>
void extension(const OpenALApi& a, const char* extensionName, F& fn, const char* name) {
    fn = a.alcIsExtensionPresent(nullptr, extensionName)
             ? reinterpret_cast<F>(a.alcGetProcAddress(nullptr, name))
             : nullptr;
}

OpenALApi load() {
    OpenALApi a{};
    fetch(a.alcOpenDevice, "alcOpenDevice");
    fetch(a.alcCloseDevice, "alcCloseDevice");
    fetch(a.alcCreateContext, "alcCreateContext");
    fetch(a.alcDestroyContext, "alcDestroyContext");
    fetch(a.alcMakeContextCurrent, "alcMakeContextCurrent");
    fetch(a.alcGetProcAddress, "alcGetProcAddress");
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
    extension(a, "ALC_SOFT_loopback", a.alcLoopbackOpenDeviceSOFT, "alcLoopbackOpenDeviceSOFT");
    extension(a, "ALC_SOFT_loopback", a.alcIsRenderFormatSupportedSOFT,
              "alcIsRenderFormatSupportedSOFT");
    extension(a, "ALC_SOFT_loopback", a.alcRenderSamplesSOFT, "alcRenderSamplesSOFT");
    extension(a, "ALC_EXT_thread_local_context", a.alcSetThreadContext, "alcSetThreadContext");
    return a;
}

} // namespace

const OpenALApi& OpenALApi::get() {
    static const OpenALApi api = load();
    return api;
}

} // namespace quillon
