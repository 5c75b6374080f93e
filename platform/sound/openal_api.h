#pragma once
// The OpenAL Soft entry points the program uses, fetched once from the library loaded
// at run time. The headers serve only for the types: the library is never linked.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

namespace quillon {

inline constexpr const char* OpenALLibraryName = "libopenal.so.1";

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

    // Raises "libopenal.so.1 を読み込めません" when the library or an entry point is missing.
    static const OpenALApi& get();
};

} // namespace quillon
