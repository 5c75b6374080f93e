#pragma once
// The sound component and the named wave list: the device brought up and down, each
// named sound loaded into a buffer, one-shot sounds played on duplicates so that copies
// overlap, looped sounds on their own buffer, and silence when there is no device.
#include "platform/core/directx.h"
#include "platform/sound/sound_device.h"
#include "platform/sound/wave.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace quillon {

class EDirectSoundError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class EDirectSoundBufferError : public EDirectSoundError {
public:
    using EDirectSoundError::EDirectSoundError;
};

class EDXSoundError : public Exception {
public:
    using Exception::Exception;
};

class EWaveCollectionError : public Exception {
public:
    using Exception::Exception;
};

class TDirectSoundBuffer;
class TDXSound;
class TDXWaveList;
class TWaveCollection;

// The device object, with the buffers made through it.
class TDirectSound : public TDirectX {
public:
    explicit TDirectSound(std::unique_ptr<SoundDevice> device);
    ~TDirectSound() override;
    TDirectSound(const TDirectSound&) = delete;
    TDirectSound& operator=(const TDirectSound&) = delete;

    // Raises "IDirectSound は作成されていません" when there is no device.
    SoundDevice& IDSound();
    // Recorded only: a refused level changes nothing the program relies on.
    void SetCooperativeLevel(QWidget* window, uint32_t level);
    const std::vector<TDirectSoundBuffer*>& Buffers() const { return buffers_; }

    bool GlobalFocus = false;
    bool StickyFocus = false;
    // Called when a buffer reports its loss; not again while a recovery runs.
    std::function<void()> OnBufferLost;

private:
    friend class TDirectSoundBuffer;
    void bufferLost();

    std::unique_ptr<SoundDevice> device_;
    std::vector<TDirectSoundBuffer*> buffers_;
    bool restoring_ = false;
};

// One sound buffer of the device; without an interface every operation raises.
class TDirectSoundBuffer : public TDirectX {
public:
    explicit TDirectSoundBuffer(TDirectSound& owner);
    ~TDirectSoundBuffer() override;
    TDirectSoundBuffer(const TDirectSoundBuffer&) = delete;
    TDirectSoundBuffer& operator=(const TDirectSoundBuffer&) = delete;

    bool HasInterface() const { return buffer_ != nullptr; }
    SoundBuffer& IBuffer();
    // None once the device object is gone.
    TDirectSound* DSound() const { return owner_; }
    const QByteArray& Format() const { return format_; }

    // Creates the device buffer; false when the device refuses.
    bool CreateBuffer(const SoundBufferDesc& desc);
    // Makes this buffer a duplicate of another; false when the device refuses.
    bool Duplicate(TDirectSoundBuffer& original);
    // A fresh buffer holding the wave's samples.
    void LoadFromWave(const TWave& wave);
    void ReleaseInterface();

    void Stop();
    void SetCurrentPosition(uint32_t bytes);
    void SetFrequency(uint32_t hz);
    void SetPan(int32_t pan);
    void SetVolume(int32_t volume);
    void Play(bool loop);
    uint32_t Status();
    bool IsPlaying();

protected:
    void Check() override;

private:
    friend class TDirectSound;
    void record(int32_t result) { setLastResult(result); }

    TDirectSound* owner_;
    std::unique_ptr<SoundBuffer> buffer_;
    QByteArray format_;
};

enum TDXSoundOption { soGlobalFocus = 0, soStickyFocus = 1, soExclusive = 2 };
using TDXSoundOptions = uint32_t; // bits of TDXSoundOption

enum class TDXSoundNotifyEvent {
    Destroying = 0,
    Initializing = 1,
    Initialize = 2,
    Finalize = 3,
    Restore = 4
};
using TDXSoundNotifyCallback = std::function<void(TDXSound& sender, TDXSoundNotifyEvent event)>;

class TDXSound : public QObject {
public:
    explicit TDXSound(QWidget* ownerForm);
    ~TDXSound() override;

    bool AutoInitialize = true;
    TDXSoundOptions Options() const { return options_; }
    void setOptions(TDXSoundOptions options);
    TDXSoundOptions NowOptions() const { return nowOptions_; }

    // End of form loading: with AutoInitialize, Initialize, swallowing the error of a
    // missing sound device so that the program runs silent.
    void Loaded();
    void Initialize();
    void Finalize();
    void RestoreItems();
    bool Initialized() const { return initialized_; }

    // Present only while initialised.
    TDirectSound* DSound() const { return dsound_.get(); }
    TDirectSoundBuffer* Primary() const { return primary_.get(); }

    void RegisterNotifyEvent(TDXSoundNotifyCallback callback, QObject* listener);
    void UnRegisterNotifyEvent(QObject* listener);

    std::function<void(TDXSound&)> OnInitializing;
    std::function<void(TDXSound&)> OnInitialize;
    std::function<void(TDXSound&)> OnFinalize;
    std::function<void(TDXSound&)> OnRestore;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Listener {
        TDXSoundNotifyCallback callback;
        QObject* listener;
    };
    void notify(TDXSoundNotifyEvent event);
    QWidget* ownerForm() const;
    void setCooperativeLevel();

    TDXSoundOptions options_ = 0;
    TDXSoundOptions nowOptions_ = 0;
    std::unique_ptr<TDirectSound> dsound_;
    std::unique_ptr<TDirectSoundBuffer> primary_;
    QWidget* hookedForm_ = nullptr;
    std::vector<Listener> listeners_;
    bool initialized_ = false;
    bool calledDoInitialize_ = false;
    bool initializeFired_ = false;
};

class TWaveCollectionItem {
public:
    explicit TWaveCollectionItem(TWaveCollection& collection);
    ~TWaveCollectionItem();
    TWaveCollectionItem(const TWaveCollectionItem&) = delete;
    TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

    const QString& Name() const { return name_; }
    void setName(const QString& name);
    int Index() const { return index_; }
    bool Looped() const { return looped_; }
    void setLooped(bool looped);
    int MaxPlayingCount() const { return maxPlayingCount_; }
    void setMaxPlayingCount(int count);
    TWave& Wave() { return wave_; }
    int32_t Frequency() const { return frequency_; }
    void setFrequency(int32_t hz);
    int32_t Pan() const { return pan_; }
    void setPan(int32_t pan);
    int32_t Volume() const { return volume_; }
    void setVolume(int32_t hundredthsOfDb);
    bool Initialized() const { return initialized_; }
    TDirectSoundBuffer* InitialBuffer() const { return initialBuffer_.get(); }
    int DuplicateCount() const { return int(duplicates_.size()); }
    TDirectSoundBuffer* Duplicate(int i) const { return duplicates_.at(size_t(i)).get(); }

    void Play(bool wait);
    void Stop();
    void Restore();
    void Finalize();
    void Initialize();

private:
    friend class TWaveCollection;
    TDirectSoundBuffer* chooseBuffer();
    std::unique_ptr<TDirectSoundBuffer> makeDuplicate();
    void freeDuplicates();

    TWaveCollection& collection_;
    QString name_;
    int index_ = 0;
    int bucket_ = -1;
    TWaveCollectionItem* prev_ = nullptr;
    TWaveCollectionItem* next_ = nullptr;
    bool looped_ = false;
    int maxPlayingCount_ = 0;
    TWave wave_;
    int32_t frequency_ = 0;
    int32_t pan_ = 0;
    int32_t volume_ = 0;
    bool initialized_ = false;
    std::unique_ptr<TDirectSoundBuffer> initialBuffer_;
    std::vector<std::unique_ptr<TDirectSoundBuffer>> duplicates_;
};

class TWaveCollection {
public:
    static constexpr int BucketCount = 256;

    TWaveCollection() = default;
    ~TWaveCollection();
    TWaveCollection(const TWaveCollection&) = delete;
    TWaveCollection& operator=(const TWaveCollection&) = delete;

    TWaveCollectionItem* Add();
    void Delete(int index);
    void Clear();
    int Count() const { return int(items_.size()); }
    TWaveCollectionItem* Item(int index) const { return items_.at(size_t(index)).get(); }
    // Case-insensitive; raises "Wave '%s' が見つかりません".
    TWaveCollectionItem* FindWave(const QString& name) const;
    // The same, without raising: -1 when absent.
    int IndexOf(const QString& name) const;
    static int HashOf(const QString& name);

    TDXSound* DXSound() const { return dxsound_; }
    void Finalize();
    void Initialize(TDXSound* sound);
    void Restore();

private:
    friend class TWaveCollectionItem;
    void link(TWaveCollectionItem* item);
    void unlink(TWaveCollectionItem* item);

    std::vector<std::unique_ptr<TWaveCollectionItem>> items_;
    std::array<TWaveCollectionItem*, BucketCount> buckets_{};
    TDXSound* dxsound_ = nullptr;
};

class TDXWaveList : public QObject {
public:
    explicit TDXWaveList(QObject* owner);
    ~TDXWaveList() override;
    TDXSound* DXSound() const { return dxsound_; }
    void setDXSound(TDXSound* sound);
    TWaveCollection* Items() { return &items_; }

private:
    void notified(TDXSound& sender, TDXSoundNotifyEvent event);

    TDXSound* dxsound_ = nullptr;
    TWaveCollection items_;
};

// The eleven built-in sounds, in their order.
extern const char* const BuiltInSoundNames[11];
// Loads them into a wave list; only "Savanna" loops.
void LoadBuiltInSounds(TDXWaveList& list);

} // namespace quillon
