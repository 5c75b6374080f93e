#pragma once
// The OpenAL Soft entry points the program uses, fetched once from the library loaded
// at run time. The headers serve only for the types: the library is never linked.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

namespace quillon {

struct OpenALApi {
    decltype(&::alcOpenDevice) alcOpenDevice;
    decltype(&::alcCloseDevice) alcCloseDevice;
    decltype(&::alcCreateContext) alcCreateContext;
    decltype(&::alcDestroyContext) alcDestroyContext;
    decltype(&::alcMakeContextCurrent) alcMakeContextCurrent;
    decltype(&::alcGetProcAddress) alcGetProcAddress;
    decltype(&::alcIsExtensionPresent) alcIsExtensionPresent;
    decltype(&::alcGetIntegerv) alcGetIntegerv;
    decltype(&::alGetError) alGetError;
    decltype(&::alGenBuffers) alGenBuffers;
    decltype(&::alDeleteBuffers) alDeleteBuffers;
    decltype(&::alBufferData) alBufferData;
    decltype(&::alGenSources) alGenSources;
    decltype(&::alDeleteSources) alDeleteSources;
    decltype(&::alSourcei) alSourcei;
    decltype(&::alSourcef) alSourcef;
    decltype(&::alSource3f) alSource3f;
    decltype(&::alGetSourcei) alGetSourcei;
    decltype(&::alSourcePlay) alSourcePlay;
    decltype(&::alSourceStop) alSourceStop;
    decltype(&::alSourceRewind) alSourceRewind;
    // Extensions, through alcGetProcAddress; null where the library lacks them.
    LPALCLOOPBACKOPENDEVICESOFT alcLoopbackOpenDeviceSOFT;
    LPALCISRENDERFORMATSUPPORTEDSOFT alcIsRenderFormatSupportedSOFT;
    LPALCRENDERSAMPLESSOFT alcRenderSamplesSOFT;
    PFNALCSETTHREADCONTEXTPROC alcSetThreadContext;

    // Takes the first of the system's names for the library that loads with every entry
    // point. Raises "%s を読み込めません" with the first name when none does.
    static const OpenALApi& get();
};

} // namespace quillon
