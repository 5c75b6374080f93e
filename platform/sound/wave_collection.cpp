#include "platform/sound/wave_collection.h"

#include "platform/sound/dxsound.h"
#include "platform/text/sjis.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <thread>

namespace quillon {

// ---- TWaveCollectionItem

TWaveCollectionItem::TWaveCollectionItem(TWaveCollection& collection) : collection_(collection) {}

TWaveCollectionItem::~TWaveCollectionItem() {
    Finalize();
    collection_.unlink(this);
}

void TWaveCollectionItem::setName(const QString& name) {
    if (name == name_)
        return;
    collection_.unlink(this);
    name_ = name;
    collection_.link(this);
}

void TWaveCollectionItem::setLooped(bool looped) {
    if (looped == looped_)
        return;
    Stop();
    looped_ = looped;
}

void TWaveCollectionItem::setMaxPlayingCount(int count) {
    count = std::max(count, 0);
    if (count == maxPlayingCount_)
        return;
    maxPlayingCount_ = count;
    if (initialized_)
        freeDuplicates();
}

void TWaveCollectionItem::setFrequency(int32_t hz) {
    frequency_ = hz;
    if (initialized_ && initialBuffer_)
        initialBuffer_->SetFrequency(uint32_t(hz));
}

void TWaveCollectionItem::setPan(int32_t pan) {
    pan_ = pan;
    if (initialized_ && initialBuffer_)
        initialBuffer_->SetPan(pan);
}

void TWaveCollectionItem::setVolume(int32_t hundredthsOfDb) {
    volume_ = hundredthsOfDb;
    if (!initialized_)
        return;
    if (!initialBuffer_)
        Restore();
    if (initialBuffer_)
        initialBuffer_->SetVolume(hundredthsOfDb);
}

void TWaveCollectionItem::Initialize() {
    TDXSound* sound = collection_.DXSound();
    initialized_ = sound && sound->initialized();
}

void TWaveCollectionItem::Finalize() {
    initialized_ = false;
    freeDuplicates();
    initialBuffer_.reset();
}

void TWaveCollectionItem::freeDuplicates() {
    duplicates_.clear();
}

void TWaveCollectionItem::Restore() {
    if (wave_.dataSize() <= 0)
        return;
    if (!initialized_)
        Initialize();
    if (!initialized_)
        return;
    TDirectSound* dsound = collection_.DXSound()->directSound();
    if (!initialBuffer_)
        initialBuffer_ = std::make_unique<TDirectSoundBuffer>(*dsound);
    try {
        initialBuffer_->loadFromWave(wave_);
    } catch (...) {
        // Without its samples the buffer is no use; the next play tries again.
        initialBuffer_.reset();
        throw;
    }
    initialBuffer_->SetFrequency(uint32_t(frequency_));
    initialBuffer_->SetPan(pan_);
    initialBuffer_->SetVolume(volume_);
}

std::unique_ptr<TDirectSoundBuffer> TWaveCollectionItem::makeDuplicate() {
    if (!initialBuffer_)
        Restore();
    if (!initialBuffer_ || !initialBuffer_->directSound())
        return nullptr;
    auto copy = std::make_unique<TDirectSoundBuffer>(*initialBuffer_->directSound());
    // A copy the device refused is dropped rather than kept without an interface,
    // where it would fail every later play of this sound.
    if (!copy->duplicate(*initialBuffer_))
        return nullptr;
    return copy;
}

TDirectSoundBuffer* TWaveCollectionItem::chooseBuffer() {
    for (auto it = duplicates_.begin(); it != duplicates_.end();) {
        const uint32_t status = (*it)->status();
        if (status & DSBSTATUS_BUFFERLOST) {
            // A lost copy can never sound again; a fresh one replaces it.
            it = duplicates_.erase(it);
            continue;
        }
        if (!(status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING)))
            return it->get();
        ++it;
    }
    if (maxPlayingCount_ == 0 || int(duplicates_.size()) < maxPlayingCount_) {
        auto copy = makeDuplicate();
        if (!copy)
            return nullptr;
        duplicates_.push_back(std::move(copy));
        return duplicates_.back().get();
    }
    // Every allowed copy plays: the one started longest ago is cut off and reused.
    std::rotate(duplicates_.begin(), duplicates_.begin() + 1, duplicates_.end());
    return duplicates_.back().get();
}

void TWaveCollectionItem::Play(bool wait) {
    if (!initialized_)
        return;
    if (looped_) {
        if (!initialBuffer_)
            Restore();
        if (!initialBuffer_)
            return;
        initialBuffer_->Stop();
        initialBuffer_->SetCurrentPosition(0);
        initialBuffer_->Play(true);
        return;
    }
    TDirectSoundBuffer* buffer = chooseBuffer();
    if (!buffer)
        return;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    buffer->SetFrequency(uint32_t(frequency_));
    buffer->SetPan(pan_);
    buffer->SetVolume(volume_);
    buffer->Play(false);
    while (wait && buffer->hasInterface() && buffer->IsPlaying())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TWaveCollectionItem::Stop() {
    if (!initialized_)
        return;
    if (initialBuffer_ && initialBuffer_->hasInterface())
        initialBuffer_->Stop();
    for (auto& copy : duplicates_)
        copy->Stop();
}

// ---- TWaveCollection

TWaveCollection::~TWaveCollection() {
    clear();
}

int TWaveCollection::hashOf(const QString& name) {
    const QByteArray bytes = sjis::fromUnicode(name.toLower());
    const int n = int(bytes.size());
    int hash = n * 16;
    if (n >= 2)
        hash += uint8_t(bytes[n - 2]) + uint8_t(bytes[0]);
    return hash & (BucketCount - 1);
}

void TWaveCollection::link(TWaveCollectionItem* item) {
    item->bucket_ = hashOf(item->name_);
    item->prev_ = nullptr;
    item->next_ = buckets_[size_t(item->bucket_)];
    if (item->next_)
        item->next_->prev_ = item;
    buckets_[size_t(item->bucket_)] = item;
}

void TWaveCollection::unlink(TWaveCollectionItem* item) {
    if (item->bucket_ < 0)
        return;
    if (item->prev_)
        item->prev_->next_ = item->next_;
    else
        buckets_[size_t(item->bucket_)] = item->next_;
    if (item->next_)
        item->next_->prev_ = item->prev_;
    item->prev_ = item->next_ = nullptr;
    item->bucket_ = -1;
}

TWaveCollectionItem* TWaveCollection::add() {
    auto item = std::make_unique<TWaveCollectionItem>(*this);
    item->index_ = count();
    link(item.get());
    items_.push_back(std::move(item));
    return items_.back().get();
}

void TWaveCollection::remove(int index) {
    items_.erase(items_.begin() + index);
    for (int i = index; i < count(); ++i)
        items_[size_t(i)]->index_ = i;
}

void TWaveCollection::clear() {
    while (!items_.empty())
        items_.pop_back();
}

int TWaveCollection::indexOf(const QString& name) const {
    for (const TWaveCollectionItem* item = buckets_[size_t(hashOf(name))]; item; item = item->next_)
        if (QString::compare(item->name_, name, Qt::CaseInsensitive) == 0)
            return item->index_;
    return -1;
}

TWaveCollectionItem* TWaveCollection::FindWave(const QString& name) const {
    const int index = indexOf(name);
    if (index < 0)
        throw EWaveCollectionError(formatMessage(
            QCoreApplication::translate("Errors", "Wave '%s' が見つかりません"), {name}));
    return item(index);
}

void TWaveCollection::Initialize(TDXSound* sound) {
    dxsound_ = sound;
    for (auto& item : items_)
        item->Initialize();
}

void TWaveCollection::Finalize() {
    for (auto& item : items_)
        item->Finalize();
    dxsound_ = nullptr;
}

void TWaveCollection::Restore() {
    for (auto& item : items_)
        item->Restore();
}

} // namespace quillon
