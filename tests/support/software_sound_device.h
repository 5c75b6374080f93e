#pragma once
// A sound device that plays in memory: it records every buffer call, moves play
// positions only when told how much time passed, can mix what plays, and can be made
// to fail. Tests and benchmarks install it with setSoundSystem.
#include "platform/sound/sound_device.h"

#include <memory>
#include <vector>

namespace quillon {

class SoftwareSoundSystem : public SoundSystem {
public:
    static constexpr int MixRate = 22050;

    struct BufferState {
        int id = 0;
        int original = -1; // the buffer this one duplicates, -1 for none
        bool primary = false;
        uint32_t flags = 0;
        PcmFormat pcm;
        std::shared_ptr<std::vector<uint8_t>> samples;
        bool released = false;
        bool lost = false;
        bool playing = false;
        bool looping = false;
        double frame = 0; // play position in sample frames
        uint32_t frequency = 0;
        int32_t pan = 0;
        int32_t volume = 0;
        int plays = 0;
    };

    enum class Op {
        Create,
        Duplicate,
        Release,
        Play,
        Stop,
        Position,
        Frequency,
        Pan,
        Volume,
        Lock
    };
    struct Event {
        Op op;
        int buffer;
        int64_t value; // play flags, position, frequency, pan or volume
    };

    // Failure switches.
    bool noDevice = false;
    bool failCreate = false;
    bool failLock = false;
    bool failDuplicate = false;
    // Mix what plays during advance into mixed().
    bool recordMix = false;

    int32_t DirectSoundCreate(std::unique_ptr<SoundDevice>& device) override;

    // Lets the given time pass: positions move, one-shot buffers that reach their end stop.
    void advance(uint32_t ms);
    // Every live buffer reports its loss from now on, as when another program takes the device.
    void loseBuffers();

    const std::vector<Event>& events() const { return events_; }
    std::vector<Event> events(Op op) const;
    void clearEvents() { events_.clear(); }
    const BufferState& buffer(int id) const { return *buffers_.at(size_t(id)); }
    int bufferCount() const { return int(buffers_.size()); }
    std::vector<int> playingBuffers() const;
    int devicesOpen() const { return devicesOpen_; }
    const std::vector<float>& mixed() const { return mixed_; }

private:
    friend class SoftwareDevice;
    friend class SoftwareBuffer;
    std::shared_ptr<BufferState> newBuffer();
    void record(Op op, int buffer, int64_t value) { events_.push_back({op, buffer, value}); }

    std::vector<std::shared_ptr<BufferState>> buffers_;
    std::vector<Event> events_;
    std::vector<float> mixed_;
    int devicesOpen_ = 0;
};

} // namespace quillon
