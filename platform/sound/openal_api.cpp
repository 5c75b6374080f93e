#include "platform/sound/openal_api.h"

#include "platform/core/error.h"
#include "platform/core/library_loader.h"
#include "platform/sound/system_sound.h"

#include <QCoreApplication>
#include <QStringList>

namespace quillon {

namespace {

template <typename F> void fetch(const QString& library, F& fn, const char* name) {
    fn = reinterpret_cast<F>(LoadPlatformFunction(library, name));
}

template <typename F>
void extension(const OpenALApi& a, const char* extensionName, F& fn, const char* name) {
    fn = a.alcIsExtensionPresent(nullptr, extensionName)
             ? reinterpret_cast<F>(a.alcGetProcAddress(nullptr, name))
             : nullptr;
}

OpenALApi load(const QString& library) {
    OpenALApi a{};
    fetch(library, a.alcOpenDevice, "alcOpenDevice");
    fetch(library, a.alcCloseDevice, "alcCloseDevice");
    fetch(library, a.alcCreateContext, "alcCreateContext");
    fetch(library, a.alcDestroyContext, "alcDestroyContext");
    fetch(library, a.alcMakeContextCurrent, "alcMakeContextCurrent");
    fetch(library, a.alcGetProcAddress, "alcGetProcAddress");
    fetch(library, a.alcIsExtensionPresent, "alcIsExtensionPresent");
    fetch(library, a.alcGetIntegerv, "alcGetIntegerv");
    fetch(library, a.alGetError, "alGetError");
    fetch(library, a.alGenBuffers, "alGenBuffers");
    fetch(library, a.alDeleteBuffers, "alDeleteBuffers");
    fetch(library, a.alBufferData, "alBufferData");
    fetch(library, a.alGenSources, "alGenSources");
    fetch(library, a.alDeleteSources, "alDeleteSources");
    fetch(library, a.alSourcei, "alSourcei");
    fetch(library, a.alSourcef, "alSourcef");
    fetch(library, a.alSource3f, "alSource3f");
    fetch(library, a.alGetSourcei, "alGetSourcei");
    fetch(library, a.alSourcePlay, "alSourcePlay");
    fetch(library, a.alSourceStop, "alSourceStop");
    fetch(library, a.alSourceRewind, "alSourceRewind");
    extension(a, "ALC_SOFT_loopback", a.alcLoopbackOpenDeviceSOFT, "alcLoopbackOpenDeviceSOFT");
    extension(a, "ALC_SOFT_loopback", a.alcIsRenderFormatSupportedSOFT,
              "alcIsRenderFormatSupportedSOFT");
    extension(a, "ALC_SOFT_loopback", a.alcRenderSamplesSOFT, "alcRenderSamplesSOFT");
    extension(a, "ALC_EXT_thread_local_context", a.alcSetThreadContext, "alcSetThreadContext");
    return a;
}

OpenALApi loadAny() {
    const QStringList names = openALLibraryNames();
    for (qsizetype i = 0;; ++i) {
        try {
            return load(names[i]);
        } catch (const Exception&) {
            if (i + 1 == names.size())
                throw Exception(formatMessage(
                    QCoreApplication::translate("Errors", "%s を読み込めません"), {names.front()}));
        }
    }
}

} // namespace

const OpenALApi& OpenALApi::get() {
    static const OpenALApi api = loadAny();
    return api;
}

} // namespace quillon
