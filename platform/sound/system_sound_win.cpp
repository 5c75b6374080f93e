#include "platform/sound/system_sound.h"

#include "platform/core/library_loader.h"

#include <QWidget>
#include <algorithm>
#include <cstring>
// After the device interface, whose constants of the same names and values it redefines.
#include <dsound.h>

namespace quillon {

namespace {

using CreateFunction = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

class DirectSoundBuffer : public SoundBuffer {
public:
    explicit DirectSoundBuffer(IDirectSoundBuffer* buffer) : buffer_(buffer) {}
    ~DirectSoundBuffer() override { buffer_->Release(); }
    DirectSoundBuffer(const DirectSoundBuffer&) = delete;
    DirectSoundBuffer& operator=(const DirectSoundBuffer&) = delete;

    IDirectSoundBuffer* raw() const { return buffer_; }

    int32_t Stop() override { return buffer_->Stop(); }
    int32_t SetCurrentPosition(uint32_t bytes) override {
        return buffer_->SetCurrentPosition(bytes);
    }
    int32_t SetFrequency(uint32_t hz) override { return buffer_->SetFrequency(hz); }
    int32_t SetPan(int32_t hundredthsOfDb) override { return buffer_->SetPan(hundredthsOfDb); }
    int32_t SetVolume(int32_t hundredthsOfDb) override {
        return buffer_->SetVolume(hundredthsOfDb);
    }
    int32_t Play(uint32_t reserved, uint32_t priority, uint32_t flags) override {
        return buffer_->Play(reserved, priority, flags);
    }
    int32_t GetStatus(uint32_t& status) override {
        DWORD value = 0;
        const HRESULT result = buffer_->GetStatus(&value);
        status = uint32_t(value);
        return result;
    }
    int32_t Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* length1, void** region2,
                 uint32_t* length2) override {
        DWORD first = 0, second = 0;
        const HRESULT result =
            buffer_->Lock(offset, bytes, region1, &first, region2, region2 ? &second : nullptr, 0);
        if (length1)
            *length1 = uint32_t(first);
        if (length2)
            *length2 = uint32_t(second);
        return result;
    }
    int32_t Unlock(void* region1, uint32_t length1, void* region2, uint32_t length2) override {
        return buffer_->Unlock(region1, length1, region2, length2);
    }

private:
    IDirectSoundBuffer* buffer_;
};

class DirectSoundDevice : public SoundDevice {
public:
    explicit DirectSoundDevice(IDirectSound* device) : device_(device) {}
    ~DirectSoundDevice() override { device_->Release(); }
    DirectSoundDevice(const DirectSoundDevice&) = delete;
    DirectSoundDevice& operator=(const DirectSoundDevice&) = delete;

    int32_t CreateSoundBuffer(const SoundBufferDesc& desc,
                              std::unique_ptr<SoundBuffer>& buffer) override {
        buffer.reset();
        // The record may stop before cbSize (a plain PCM record); the rest stays zero.
        WAVEFORMATEX format{};
        std::memcpy(&format, desc.format.constData(),
                    std::min(size_t(desc.format.size()), sizeof format));
        DSBUFFERDESC d{};
        d.dwSize = sizeof d;
        d.dwFlags = desc.flags;
        d.dwBufferBytes = desc.bufferBytes;
        d.lpwfxFormat = desc.format.isEmpty() ? nullptr : &format;
        IDirectSoundBuffer* made = nullptr;
        const HRESULT result = device_->CreateSoundBuffer(&d, &made, nullptr);
        if (SUCCEEDED(result) && made)
            buffer = std::make_unique<DirectSoundBuffer>(made);
        return result;
    }

    int32_t DuplicateSoundBuffer(SoundBuffer& original,
                                 std::unique_ptr<SoundBuffer>& copy) override {
        copy.reset();
        auto* source = dynamic_cast<DirectSoundBuffer*>(&original);
        if (!source)
            return DSERR_INVALIDCALL;
        IDirectSoundBuffer* made = nullptr;
        const HRESULT result = device_->DuplicateSoundBuffer(source->raw(), &made);
        if (SUCCEEDED(result) && made)
            copy = std::make_unique<DirectSoundBuffer>(made);
        return result;
    }

    // DirectSound wants a top-level window to follow the focus of; with none yet, the
    // desktop's.
    int32_t SetCooperativeLevel(QWidget* window, uint32_t level) override {
        const HWND handle =
            window ? reinterpret_cast<HWND>(window->window()->winId()) : GetDesktopWindow();
        return device_->SetCooperativeLevel(handle, level);
    }

private:
    IDirectSound* device_;
};

// DirectSound, loaded at run time from DSound.dll, whose calls the sound device
// interface follows one for one.
class DirectSoundSystem : public SoundSystem {
public:
    // Raises "DSound.dll を読み込めません" when the library is missing; without a sound
    // device, DirectSound's own failing result.
    int32_t DirectSoundCreate(std::unique_ptr<SoundDevice>& device) override;
};

} // namespace

int32_t DirectSoundSystem::DirectSoundCreate(std::unique_ptr<SoundDevice>& device) {
    device.reset();
    const auto create = reinterpret_cast<CreateFunction>(
        LoadPlatformFunction(QStringLiteral("DSound.dll"), "DirectSoundCreate"));
    IDirectSound* made = nullptr;
    const HRESULT result = create(nullptr, &made, nullptr);
    if (FAILED(result) || !made)
        return FAILED(result) ? result : DSERR_NODRIVER;
    device = std::make_unique<DirectSoundDevice>(made);
    return DS_OK;
}

std::unique_ptr<SoundSystem> makeSystemSound() {
    return std::make_unique<DirectSoundSystem>();
}

// Installed by the OpenAL runtime's installer, or OpenAL Soft's own build beside the
// program.
QStringList openALLibraryNames() {
    return {QStringLiteral("OpenAL32.dll"), QStringLiteral("soft_oal.dll")};
}

} // namespace quillon
