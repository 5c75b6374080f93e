// Placeholder until the sound player lands: every sound is silent.
#include "platform/dxsound.h"

#include "platform/error.h"

namespace quillon {

namespace {
TWaveCollectionItem item;
TWaveCollection collection;
QString name;
int32_t volume = 0;
} // namespace

const QString& TWaveCollectionItem::Name() const { return name; }
bool TWaveCollectionItem::Looped() const { return false; }
void TWaveCollectionItem::Play(bool) {}
void TWaveCollectionItem::Stop() {}
int32_t TWaveCollectionItem::Volume() const { return volume; }
void TWaveCollectionItem::setVolume(int32_t v) { volume = v; }
TWaveCollectionItem* TWaveCollection::FindWave(const QString&) { return &item; }
int TWaveCollection::Count() const { return 11; }
TDXSound::TDXSound(QWidget* owner) : QObject(owner) {}
TDXSound::~TDXSound() = default;
void TDXSound::Loaded() {}
void TDXSound::Initialize() {}
void TDXSound::Finalize() {}
bool TDXSound::Initialized() const { return false; }
TDXWaveList::TDXWaveList(QObject* owner) : QObject(owner) {}
TDXWaveList::~TDXWaveList() = default;
void TDXWaveList::setDXSound(TDXSound*) {}
TWaveCollection* TDXWaveList::Items() { return &collection; }
void LoadBuiltInSounds(TDXWaveList&) {}

} // namespace quillon
