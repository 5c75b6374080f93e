#include "platform/sound/dxsound.h"

#include "platform/text/sjis.h"

#include <QEvent>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <exception>
#include <thread>

namespace quillon {

namespace {
QString filled(const char* pattern, const char* arg) {
    return formatMessage(QString::fromUtf8(pattern), {QString::fromUtf8(arg)});
}
constexpr uint32_t bit(TDXSoundOption option) {
    return 1u << option;
}
} // namespace

// ---- TDirectSound

TDirectSound::TDirectSound(std::unique_ptr<SoundDevice> device) : device_(std::move(device)) {}

TDirectSound::~TDirectSound() {
    // Buffers still alive lose their device interface, last made first.
    for (auto it = buffers_.rbegin(); it != buffers_.rend(); ++it) {
        (*it)->ReleaseInterface();
        (*it)->owner_ = nullptr;
    }
    buffers_.clear();
}

SoundDevice& TDirectSound::IDSound() {
    if (!device_)
        throw EDirectSoundError(filled("%s は作成されていません", "IDirectSound"));
    return *device_;
}

void TDirectSound::SetCooperativeLevel(QWidget* window, uint32_t level) {
    setLastResult(IDSound().SetCooperativeLevel(window, level));
}

void TDirectSound::bufferLost() {
    if (restoring_ || !OnBufferLost)
        return;
    restoring_ = true;
    try {
        OnBufferLost();
    } catch (...) {
        restoring_ = false;
        throw;
    }
    restoring_ = false;
}

// ---- TDirectSoundBuffer

TDirectSoundBuffer::TDirectSoundBuffer(TDirectSound& owner) : owner_(&owner) {
    owner.buffers_.push_back(this);
}

TDirectSoundBuffer::~TDirectSoundBuffer() {
    ReleaseInterface();
    if (owner_)
        std::erase(owner_->buffers_, this);
}

SoundBuffer& TDirectSoundBuffer::IBuffer() {
    if (!buffer_)
        throw EDirectSoundBufferError(filled("%s は作成されていません", "IDirectSoundBuffer"));
    return *buffer_;
}

void TDirectSoundBuffer::ReleaseInterface() {
    buffer_.reset();
}

bool TDirectSoundBuffer::CreateBuffer(const SoundBufferDesc& desc) {
    ReleaseInterface();
    if (!owner_)
        throw EDirectSoundError(filled("%s は作成されていません", "IDirectSound"));
    std::unique_ptr<SoundBuffer> created;
    const int32_t result = owner_->IDSound().CreateSoundBuffer(desc, created);
    if (result == DS_OK && created) {
        buffer_ = std::move(created);
        format_ = desc.format;
    }
    record(result);
    return buffer_ != nullptr;
}

bool TDirectSoundBuffer::Duplicate(TDirectSoundBuffer& original) {
    ReleaseInterface();
    if (!owner_)
        throw EDirectSoundError(filled("%s は作成されていません", "IDirectSound"));
    std::unique_ptr<SoundBuffer> copy;
    const int32_t result = owner_->IDSound().DuplicateSoundBuffer(original.IBuffer(), copy);
    if (result == DS_OK && copy) {
        buffer_ = std::move(copy);
        format_ = original.format_;
    }
    record(result);
    return buffer_ != nullptr;
}

void TDirectSoundBuffer::LoadFromWave(const TWave& wave) {
    SoundBufferDesc desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if (owner_ && owner_->StickyFocus)
        desc.flags |= DSBCAPS_STICKYFOCUS;
    else if (owner_ && owner_->GlobalFocus)
        desc.flags |= DSBCAPS_GLOBALFOCUS;
    desc.bufferBytes = uint32_t(wave.DataSize());
    desc.format = wave.Format();
    if (!CreateBuffer(desc))
        throw EDirectSoundBufferError(filled("%s を作成できません", "サウンドバッファ"));
    if (wave.DataSize() <= 0)
        return;

    void* region[2] = {};
    uint32_t length[2] = {};
    const int32_t result =
        buffer_->Lock(0, uint32_t(wave.DataSize()), &region[0], &length[0], &region[1], &length[1]);
    if (result != DS_OK) {
        ReleaseInterface();
        record(result);
        throw EDirectSoundBufferError(filled("%s をロックできません", "サウンドバッファ"));
    }
    // The device may hand out the block in two parts.
    const uint32_t total = uint32_t(wave.DataSize());
    const uint32_t first = std::min(length[0], total);
    std::memcpy(region[0], wave.Data(), first);
    if (region[1] && first < total)
        std::memcpy(region[1], wave.Data() + first, std::min(length[1], total - first));
    record(buffer_->Unlock(region[0], length[0], region[1], length[1]));
}

void TDirectSoundBuffer::Check() {
    if (LastResult() == DSERR_BUFFERLOST && owner_)
        owner_->bufferLost();
}

void TDirectSoundBuffer::Stop() {
    record(IBuffer().Stop());
}
void TDirectSoundBuffer::SetCurrentPosition(uint32_t bytes) {
    record(IBuffer().SetCurrentPosition(bytes));
}
void TDirectSoundBuffer::SetFrequency(uint32_t hz) {
    record(IBuffer().SetFrequency(hz));
}
void TDirectSoundBuffer::SetPan(int32_t pan) {
    record(IBuffer().SetPan(pan));
}
void TDirectSoundBuffer::SetVolume(int32_t volume) {
    record(IBuffer().SetVolume(volume));
}
void TDirectSoundBuffer::Play(bool loop) {
    record(IBuffer().Play(0, 0, loop ? DSBPLAY_LOOPING : 0));
}

uint32_t TDirectSoundBuffer::Status() {
    uint32_t status = 0;
    record(IBuffer().GetStatus(status));
    return status;
}

bool TDirectSoundBuffer::IsPlaying() {
    return (Status() & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING)) != 0;
}

// ---- TDXSound

TDXSound::TDXSound(QWidget* ownerForm) : QObject(ownerForm) {}

TDXSound::~TDXSound() {
    try {
        Finalize();
    } catch (const std::exception&) {
        // Going away regardless; an event handler's error has nowhere to go.
    }
    notify(TDXSoundNotifyEvent::Destroying);
}

void TDXSound::setOptions(TDXSoundOptions options) {
    options_ = options;
    if (!initialized_) {
        nowOptions_ = options;
        return;
    }
    // Focus takes effect at once; exclusiveness only at the next initialisation.
    nowOptions_ = (nowOptions_ & bit(soExclusive)) | (options & ~bit(soExclusive));
    if (dsound_) {
        dsound_->GlobalFocus = nowOptions_ & bit(soGlobalFocus);
        dsound_->StickyFocus = nowOptions_ & bit(soStickyFocus);
    }
}

void TDXSound::Loaded() {
    if (!AutoInitialize)
        return;
    try {
        Initialize();
    } catch (const EDirectSoundError&) {
        // No sound device: the program runs silent.
    }
}

QWidget* TDXSound::ownerForm() const {
    for (QObject* o = parent(); o; o = o->parent())
        if (auto* widget = qobject_cast<QWidget*>(o))
            return widget->window();
    return nullptr;
}

void TDXSound::Initialize() {
    Finalize();
    QWidget* form = ownerForm();
    if (!form)
        throw EDXSoundError(QStringLiteral("フォームが見つかりません"));
    notify(TDXSoundNotifyEvent::Initializing);
    if (OnInitializing)
        OnInitializing(*this);
    calledDoInitialize_ = true;
    try {
        std::unique_ptr<SoundDevice> device;
        if (soundSystem().DirectSoundCreate(device) != DS_OK || !device)
            throw EDirectSoundError(filled("%s を初期化できません", "DirectSound"));
        dsound_ = std::make_unique<TDirectSound>(std::move(device));
        dsound_->GlobalFocus = nowOptions_ & bit(soGlobalFocus);
        dsound_->StickyFocus = nowOptions_ & bit(soStickyFocus);
        dsound_->OnBufferLost = [this] { RestoreItems(); };

        primary_ = std::make_unique<TDirectSoundBuffer>(*dsound_);
        SoundBufferDesc desc;
        desc.flags = DSBCAPS_PRIMARYBUFFER;
        if (!primary_->CreateBuffer(desc))
            throw EDXSoundError(filled("%s を作成できません", "プライマリバッファ"));

        initialized_ = true;
        hookedForm_ = form;
        form->installEventFilter(this);
        setCooperativeLevel();
    } catch (...) {
        Finalize();
        throw;
    }
    notify(TDXSoundNotifyEvent::Initialize);
    initializeFired_ = true;
    if (OnInitialize)
        OnInitialize(*this);
    RestoreItems();
}

void TDXSound::Finalize() {
    if (!calledDoInitialize_)
        return;
    if (hookedForm_) {
        hookedForm_->removeEventFilter(this);
        hookedForm_ = nullptr;
    }
    std::exception_ptr error;
    try {
        if (initializeFired_) {
            initializeFired_ = false;
            if (OnFinalize)
                OnFinalize(*this);
        }
    } catch (...) {
        error = std::current_exception();
    }
    try {
        notify(TDXSoundNotifyEvent::Finalize);
    } catch (...) {
        if (!error)
            error = std::current_exception();
    }
    initialized_ = false;
    calledDoInitialize_ = false;
    setOptions(options_);
    primary_.reset();
    dsound_.reset();
    if (error)
        std::rethrow_exception(error);
}

void TDXSound::RestoreItems() {
    if (!initialized_)
        return;
    notify(TDXSoundNotifyEvent::Restore);
    if (OnRestore)
        OnRestore(*this);
}

void TDXSound::setCooperativeLevel() {
    if (!dsound_ || !hookedForm_)
        return;
    dsound_->SetCooperativeLevel(hookedForm_,
                                 (nowOptions_ & bit(soExclusive)) ? DSSCL_EXCLUSIVE : DSSCL_NORMAL);
}

bool TDXSound::eventFilter(QObject* watched, QEvent* event) {
    // A window made anew gets the cooperative level again.
    if (watched == hookedForm_ && event->type() == QEvent::WinIdChange)
        setCooperativeLevel();
    return QObject::eventFilter(watched, event);
}

void TDXSound::RegisterNotifyEvent(TDXSoundNotifyCallback callback, QObject* listener) {
    UnRegisterNotifyEvent(listener);
    listeners_.push_back({std::move(callback), listener});
}

void TDXSound::UnRegisterNotifyEvent(QObject* listener) {
    std::erase_if(listeners_, [listener](const Listener& l) { return l.listener == listener; });
}

void TDXSound::notify(TDXSoundNotifyEvent event) {
    // A listener may unregister itself while being told.
    const std::vector<Listener> listeners = listeners_;
    for (const Listener& l : listeners)
        l.callback(*this, event);
}

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
    initialized_ = sound && sound->Initialized();
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
    if (wave_.DataSize() <= 0)
        return;
    if (!initialized_)
        Initialize();
    if (!initialized_)
        return;
    TDirectSound* dsound = collection_.DXSound()->DSound();
    if (!initialBuffer_)
        initialBuffer_ = std::make_unique<TDirectSoundBuffer>(*dsound);
    try {
        initialBuffer_->LoadFromWave(wave_);
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
    if (!initialBuffer_ || !initialBuffer_->DSound())
        return nullptr;
    auto copy = std::make_unique<TDirectSoundBuffer>(*initialBuffer_->DSound());
    // A copy the device refused is dropped rather than kept without an interface,
    // where it would fail every later play of this sound.
    if (!copy->Duplicate(*initialBuffer_))
        return nullptr;
    return copy;
}

TDirectSoundBuffer* TWaveCollectionItem::chooseBuffer() {
    for (auto it = duplicates_.begin(); it != duplicates_.end();) {
        const uint32_t status = (*it)->Status();
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
    while (wait && buffer->HasInterface() && buffer->IsPlaying())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TWaveCollectionItem::Stop() {
    if (!initialized_)
        return;
    if (initialBuffer_ && initialBuffer_->HasInterface())
        initialBuffer_->Stop();
    for (auto& copy : duplicates_)
        copy->Stop();
}

// ---- TWaveCollection

TWaveCollection::~TWaveCollection() {
    Clear();
}

int TWaveCollection::HashOf(const QString& name) {
    const QByteArray bytes = sjis::fromUnicode(name.toLower());
    const int n = int(bytes.size());
    int hash = n * 16;
    if (n >= 2)
        hash += uint8_t(bytes[n - 2]) + uint8_t(bytes[0]);
    return hash & (BucketCount - 1);
}

void TWaveCollection::link(TWaveCollectionItem* item) {
    item->bucket_ = HashOf(item->name_);
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

TWaveCollectionItem* TWaveCollection::Add() {
    auto item = std::make_unique<TWaveCollectionItem>(*this);
    item->index_ = Count();
    link(item.get());
    items_.push_back(std::move(item));
    return items_.back().get();
}

void TWaveCollection::Delete(int index) {
    items_.erase(items_.begin() + index);
    for (int i = index; i < Count(); ++i)
        items_[size_t(i)]->index_ = i;
}

void TWaveCollection::Clear() {
    while (!items_.empty())
        items_.pop_back();
}

int TWaveCollection::IndexOf(const QString& name) const {
    for (const TWaveCollectionItem* item = buckets_[size_t(HashOf(name))]; item; item = item->next_)
        if (QString::compare(item->name_, name, Qt::CaseInsensitive) == 0)
            return item->index_;
    return -1;
}

TWaveCollectionItem* TWaveCollection::FindWave(const QString& name) const {
    const int index = IndexOf(name);
    if (index < 0)
        throw EWaveCollectionError(
            formatMessage(QStringLiteral("Wave '%s' が見つかりません"), {name}));
    return Item(index);
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

// ---- TDXWaveList

TDXWaveList::TDXWaveList(QObject* owner) : QObject(owner) {}

TDXWaveList::~TDXWaveList() {
    setDXSound(nullptr);
}

void TDXWaveList::setDXSound(TDXSound* sound) {
    if (sound == dxsound_)
        return;
    if (dxsound_) {
        dxsound_->UnRegisterNotifyEvent(this);
        // Buffers of a device this list no longer follows are let go now.
        items_.Finalize();
    }
    dxsound_ = sound;
    if (!sound)
        return;
    sound->RegisterNotifyEvent(
        [this](TDXSound& sender, TDXSoundNotifyEvent event) { notified(sender, event); }, this);
    if (sound->Initialized()) {
        notified(*sound, TDXSoundNotifyEvent::Initialize);
        notified(*sound, TDXSoundNotifyEvent::Restore);
    }
}

void TDXWaveList::notified(TDXSound& sender, TDXSoundNotifyEvent event) {
    switch (event) {
    case TDXSoundNotifyEvent::Destroying:
        setDXSound(nullptr);
        break;
    case TDXSoundNotifyEvent::Initialize:
        items_.Finalize();
        items_.Initialize(&sender);
        break;
    case TDXSoundNotifyEvent::Finalize:
        items_.Finalize();
        break;
    case TDXSoundNotifyEvent::Restore:
        items_.Restore();
        break;
    case TDXSoundNotifyEvent::Initializing:
        break;
    }
}

// ---- built-in sounds

const char* const BuiltInSoundNames[11] = {"Bang",    "Type",     "Theme",  "Joke",
                                           "Lion",    "Elephant", "Condle", "GotIt",
                                           "Savanna", "Get15",    "Owl"};

void LoadBuiltInSounds(TDXWaveList& list) {
    TWaveCollection& items = *list.Items();
    items.Clear();
    for (const char* name : BuiltInSoundNames) {
        TWaveCollectionItem* item = items.Add();
        item->setName(QString::fromLatin1(name));
        item->setLooped(qstrcmp(name, "Savanna") == 0);
        item->setMaxPlayingCount(0);
        QFile image(QStringLiteral(":/sounds/%1.wav").arg(QString::fromLatin1(name)));
        if (!image.open(QIODevice::ReadOnly))
            throw EStreamReadError();
        item->Wave().ReadWave(image);
    }
    // A list that already plays gets its buffers at once.
    if (list.DXSound() && list.DXSound()->Initialized())
        items.Restore();
}

} // namespace quillon
