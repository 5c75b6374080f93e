#pragma once
// The OpenAL entry points the sound device uses, fetched once from the library loaded
// at run time. The headers serve only for the types: the library is never linked.
#include <AL/al.h>
#include <AL/alc.h>

namespace quillon {

inline constexpr const char* OpenALLibraryName = "libopenal.so.1";

struct OpenALApi {
    decltype(&::alcOpenDevice) alcOpenDevice;
    decltype(&::alcCloseDevice) alcCloseDevice;
    decltype(&::alcCreateContext) alcCreateContext;
    decltype(&::alcDestroyContext) alcDestroyContext;
    decltype(&::alcMakeContextCurrent) alcMakeContextCurrent;
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

    // Raises "libopenal.so.1 を読み込めません" when the library or an entry point is missing.
    static const OpenALApi& get();
};

} // namespace quillon
