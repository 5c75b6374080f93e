#include "platform/sound/openal_device.h"

#include "platform/sound/device_watch.h"
#include "platform/sound/openal_buffers.h"

#include <AL/alext.h>

namespace quillon {

namespace {

// A context on the default device, made current; false when there is none.
bool openDefault(const OpenALApi& al, ALCdevice*& device, ALCcontext*& context) {
    device = al.alcOpenDevice(nullptr);
    if (!device)
        return false;
    context = al.alcCreateContext(device, nullptr);
    if (context && al.alcMakeContextCurrent(context))
        return true;
    if (context)
        al.alcDestroyContext(context);
    al.alcCloseDevice(device);
    return false;
}

void close(const OpenALApi& al, ALCdevice* device, ALCcontext* context) {
    al.alcMakeContextCurrent(nullptr);
    al.alcDestroyContext(context);
    al.alcCloseDevice(device);
}

} // namespace

OpenALDevice::OpenALDevice(const OpenALApi& al, ALCdevice* device, ALCcontext* context)
    : al_(al), buffers_(std::make_shared<OpenALBuffers>(al)), device_(device), context_(context),
      watch_(std::make_unique<DeviceWatch>([this] { return connected(); },
                                           [this] { return reopen(); })) {}

OpenALDevice::~OpenALDevice() {
    watch_.reset();
    close(al_, device_, context_);
}

bool OpenALDevice::connected() const {
    if (!al_.alcIsExtensionPresent(device_, "ALC_EXT_disconnect"))
        return true;
    ALCint connected = ALC_TRUE;
    al_.alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

bool OpenALDevice::reopen() {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    // The new device first: while none can be opened, the lost one keeps every buffer
    // (playing nothing), so the program carries on as it was.
    if (!openDefault(al_, device, context))
        return false;
    al_.alcMakeContextCurrent(context_);
    buffers_->detachAll();
    close(al_, device_, context_);
    device_ = device;
    context_ = context;
    al_.alcMakeContextCurrent(context_);
    al_.alGetError();
    buffers_->attachAll();
    return true;
}

int32_t OpenALDevice::CreateSoundBuffer(const SoundBufferDesc& desc,
                                        std::unique_ptr<SoundBuffer>& buffer) {
    buffer.reset();
    if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
        buffer = std::make_unique<PrimaryBuffer>();
        return DS_OK;
    }
    const std::optional<PcmFormat> pcm = PcmFormat::parse(desc.format);
    if (!pcm || pcm->channels > 2)
        return DSERR_BADFORMAT;
    if (desc.bufferBytes == 0)
        return DSERR_INVALIDPARAM;
    al_.alGetError();
    auto samples = std::make_shared<Samples>(buffers_, *pcm, desc.bufferBytes);
    auto source = std::make_unique<SourceBuffer>(std::move(samples));
    if (!source->valid())
        return DSERR_OUTOFMEMORY;
    buffer = std::move(source);
    return DS_OK;
}

int32_t OpenALDevice::DuplicateSoundBuffer(SoundBuffer& original,
                                           std::unique_ptr<SoundBuffer>& copy) {
    copy.reset();
    auto* source = dynamic_cast<SourceBuffer*>(&original);
    if (!source)
        return DSERR_INVALIDCALL;
    al_.alGetError();
    auto duplicate = std::make_unique<SourceBuffer>(source->samples());
    if (!duplicate->valid())
        return DSERR_OUTOFMEMORY;
    copy = std::move(duplicate);
    return DS_OK;
}

int32_t OpenALSoundSystem::DirectSoundCreate(std::unique_ptr<SoundDevice>& device) {
    device.reset();
    const OpenALApi& al = OpenALApi::get();
    ALCdevice* alcDevice = nullptr;
    ALCcontext* context = nullptr;
    if (!openDefault(al, alcDevice, context))
        return DSERR_NODRIVER;
    device = std::make_unique<OpenALDevice>(al, alcDevice, context);
    return DS_OK;
}

} // namespace quillon
