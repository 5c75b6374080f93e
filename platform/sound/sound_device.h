#pragma once
// The sound device as the sound component sees it: a device that makes buffers, and
// buffers that play, stop, change volume and report their status. Results are
// device result codes (0 success, negative failure), recorded by the wrappers.
#include <QByteArray>
#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

namespace quillon {

constexpr int32_t DS_OK = 0;
constexpr int32_t DSERR_GENERIC = int32_t(0x80004005);
constexpr int32_t DSERR_OUTOFMEMORY = int32_t(0x8007000E);
constexpr int32_t DSERR_INVALIDPARAM = int32_t(0x80070057);
constexpr int32_t DSERR_INVALIDCALL = int32_t(0x88780032);
constexpr int32_t DSERR_BADFORMAT = int32_t(0x88780064);
constexpr int32_t DSERR_NODRIVER = int32_t(0x88780078);
constexpr int32_t DSERR_BUFFERLOST = int32_t(0x88780096);

constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_STICKYFOCUS = 0x4000;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;

constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x2;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;

constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;

constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_RIGHT = 10000;

// The fields of a PCM format record that a device needs.
struct PcmFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;

    // Nothing for a record that is too short or describes no playable PCM.
    static std::optional<PcmFormat> parse(const QByteArray& record);
};

struct SoundBufferDesc {
    uint32_t size = 36;
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    QByteArray format; // empty for the primary buffer
};

class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;
    virtual int32_t Stop() = 0;
    virtual int32_t SetCurrentPosition(uint32_t bytes) = 0;
    virtual int32_t SetFrequency(uint32_t hz) = 0; // 0: the wave's own rate
    virtual int32_t SetPan(int32_t hundredthsOfDb) = 0;
    virtual int32_t SetVolume(int32_t hundredthsOfDb) = 0;
    virtual int32_t Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
    virtual int32_t GetStatus(uint32_t& status) = 0;
    virtual int32_t Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* length1,
                         void** region2, uint32_t* length2) = 0;
    virtual int32_t Unlock(void* region1, uint32_t length1, void* region2, uint32_t length2) = 0;
};

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual int32_t CreateSoundBuffer(const SoundBufferDesc& desc,
                                      std::unique_ptr<SoundBuffer>& buffer) = 0;
    // The copy shares the original's samples.
    virtual int32_t DuplicateSoundBuffer(SoundBuffer& original,
                                         std::unique_ptr<SoundBuffer>& copy) = 0;
    virtual int32_t SetCooperativeLevel(QWidget* window, uint32_t level) = 0;
};

// Opens the default device. Raises the plain "%s を読み込めません" when the sound library
// itself is missing; a missing device is a failing result.
class SoundSystem {
public:
    virtual ~SoundSystem() = default;
    virtual int32_t DirectSoundCreate(std::unique_ptr<SoundDevice>& device) = 0;
};

// Gain factor of a volume in hundredths of a decibel.
float gainOfVolume(int32_t hundredthsOfDb);

} // namespace quillon
