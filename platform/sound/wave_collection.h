#pragma once
// The named sounds: each item holds its wave, loads it into a buffer of the sound
// component, plays one-shot copies on duplicates and loops on its own buffer. Items are
// found by name, whatever the letter case, through 256 hash buckets.
#include "platform/core/error.h"
#include "platform/sound/directsound.h"
#include "platform/sound/wave.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class EWaveCollectionError : public Exception {
public:
    using Exception::Exception;
};

class TDXSound;
class TWaveCollection;

class TWaveCollectionItem {
public:
    explicit TWaveCollectionItem(TWaveCollection& collection);
    ~TWaveCollectionItem();
    TWaveCollectionItem(const TWaveCollectionItem&) = delete;
    TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

    const QString& Name() const { return name_; }
    void setName(const QString& name);
    int index() const { return index_; }
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
    bool initialized() const { return initialized_; }
    TDirectSoundBuffer* InitialBuffer() const { return initialBuffer_.get(); }
    int duplicateCount() const { return int(duplicates_.size()); }
    TDirectSoundBuffer* duplicate(int i) const { return duplicates_.at(size_t(i)).get(); }

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

    TWaveCollectionItem* add();
    void remove(int index);
    void clear();
    int count() const { return int(items_.size()); }
    TWaveCollectionItem* item(int index) const { return items_.at(size_t(index)).get(); }
    // Case-insensitive; raises "Wave '%s' が見つかりません".
    TWaveCollectionItem* FindWave(const QString& name) const;
    // The same, without raising: -1 when absent.
    int indexOf(const QString& name) const;
    static int hashOf(const QString& name);

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

} // namespace quillon
