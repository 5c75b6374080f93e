#pragma once
// The sound device on OpenAL Soft, loaded at run time. The device is watched: when it
// goes away, the default device is opened anew within a few seconds and every buffer is
// made again on it from the samples kept, a playing loop starting again; until then the
// program plays on silently.
#include "platform/sound/openal_api.h"
#include "platform/sound/sound_device.h"

#include <memory>

namespace quillon {

struct OpenALBuffers;
class DeviceWatch;

class OpenALDevice : public SoundDevice {
public:
    OpenALDevice(const OpenALApi& al, ALCdevice* device, ALCcontext* context);
    ~OpenALDevice() override;
    OpenALDevice(const OpenALDevice&) = delete;
    OpenALDevice& operator=(const OpenALDevice&) = delete;

    int32_t CreateSoundBuffer(const SoundBufferDesc& desc,
                              std::unique_ptr<SoundBuffer>& buffer) override;
    int32_t DuplicateSoundBuffer(SoundBuffer& original,
                                 std::unique_ptr<SoundBuffer>& copy) override;
    // OpenAL has no focus: every source is heard whichever window is active.
    int32_t SetCooperativeLevel(QWidget*, uint32_t) override { return DS_OK; }

    // Whether the device is still there; a device that cannot tell always is.
    bool connected() const;
    // Opens the default device anew and moves every buffer onto it. False, with
    // everything left as it was, when no device can be opened.
    bool reopen();
    DeviceWatch& watch() { return *watch_; }

private:
    const OpenALApi& al_;
    std::shared_ptr<OpenALBuffers> buffers_;
    ALCdevice* device_;
    ALCcontext* context_;
    std::unique_ptr<DeviceWatch> watch_;
};

class OpenALSoundSystem : public SoundSystem {
public:
    int32_t DirectSoundCreate(std::unique_ptr<SoundDevice>& device) override;
};

} // namespace quillon
