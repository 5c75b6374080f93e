// The sound component and the wave list over the in-memory device.
#include "platform/core/services.h"
#include "platform/sound/dxwavelist.h"
#include "presentation/built_in_sounds.h"
#include "support/raised.h"
#include "support/software_sound_device.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <optional>

using namespace quillon;
using quillon::testing::raised;
using Op = SoftwareSoundSystem::Op;

namespace {

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.emplace(Services{.sound = &device});
        form = std::make_unique<QWidget>();
        sound = new TDXSound(form.get());
        list = new TDXWaveList(form.get());
        list->setDXSound(sound);
        loadBuiltInSounds(*list);
    }
    void TearDown() override {
        form.reset();
        services.reset();
    }
    void start() {
        sound->loaded();
        device.clearEvents();
    }
    TWaveCollectionItem* item(const char* name) {
        return list->Items()->FindWave(QString::fromLatin1(name));
    }
    std::vector<int> played() const {
        std::vector<int> ids;
        for (const auto& e : device.events(Op::Play))
            ids.push_back(e.buffer);
        return ids;
    }

    SoftwareSoundSystem device;
    std::optional<ScopedServices> services;
    std::unique_ptr<QWidget> form;
    TDXSound* sound = nullptr;
    TDXWaveList* list = nullptr;
};

} // namespace

TEST_F(SoundTest, BuiltInListHasElevenItemsInOrderAndOnlySavannaLoops) {
    start();
    ASSERT_EQ(list->Items()->count(), 11);
    for (int i = 0; i < 11; ++i) {
        const TWaveCollectionItem* it = list->Items()->item(i);
        EXPECT_EQ(it->Name(), builtInSounds().at(i).name);
        EXPECT_EQ(it->Looped(), it->Name() == QLatin1String("Savanna"));
        EXPECT_EQ(it->MaxPlayingCount(), 0);
        EXPECT_TRUE(it->initialized());
        ASSERT_NE(it->InitialBuffer(), nullptr);
    }
    EXPECT_EQ(device.buffer(0).flags, DSBCAPS_PRIMARYBUFFER);
    // Each secondary buffer got the plain control flags and the wave's bytes.
    const auto& type = device.buffer(2);
    EXPECT_EQ(type.flags, 0xE0u);
    EXPECT_EQ(type.samples->size(), 14933u);
}

TEST_F(SoundTest, LookupIgnoresLetterCaseAndNamesTheMissingWave) {
    start();
    EXPECT_EQ(item("type")->Name(), QStringLiteral("Type"));
    EXPECT_EQ(item("SAVANNA")->index(), 8);
    EXPECT_EQ(TWaveCollection::hashOf(QStringLiteral("GotIt")),
              TWaveCollection::hashOf(QStringLiteral("gotit")));
    EXPECT_EQ(raised<EWaveCollectionError>([&] { item("Bark"); }),
              QStringLiteral("Wave 'Bark' が見つかりません"));
    // A renamed item is found under its new name only.
    item("Owl")->setName(QStringLiteral("Hoot"));
    EXPECT_EQ(item("hoot")->index(), 10);
    EXPECT_THROW(item("Owl"), EWaveCollectionError);
}

TEST_F(SoundTest, QuickPlaysOverlapOnDuplicatesThatAreReusedWhenFinished) {
    start();
    TWaveCollectionItem* type = item("Type");
    type->Play(false);
    device.advance(50);
    type->Play(false);
    EXPECT_EQ(type->duplicateCount(), 2);
    EXPECT_EQ(device.playingBuffers().size(), 2u);
    // Duplicates share the loaded samples instead of copying them.
    EXPECT_EQ(device.buffer(played()[0]).samples, device.buffer(played()[1]).samples);

    device.advance(700);
    EXPECT_TRUE(device.playingBuffers().empty());
    type->Play(false);
    EXPECT_EQ(type->duplicateCount(), 2);
    EXPECT_EQ(device.events(Op::Duplicate).size(), 2u);
    EXPECT_EQ(played()[2], played()[0]);
    // Stopping after everything finished is harmless.
    device.advance(700);
    EXPECT_NO_THROW(type->Stop());
}

TEST_F(SoundTest, MaxPlayingCountRestartsTheOldestCopy) {
    start();
    TWaveCollectionItem* lion = item("Lion");
    lion->setMaxPlayingCount(2);
    lion->Play(false);
    device.advance(100);
    lion->Play(false);
    device.advance(100);
    const int first = played()[0];
    EXPECT_GT(device.buffer(first).frame, 0.0);
    device.clearEvents();
    lion->Play(false);
    EXPECT_EQ(lion->duplicateCount(), 2);
    ASSERT_EQ(played(), std::vector<int>{first});
    EXPECT_EQ(device.buffer(first).frame, 0.0);
    EXPECT_EQ(lion->duplicate(1)->LastResult(), DS_OK);
    // Changing the limit lets the copies go.
    lion->setMaxPlayingCount(-3);
    EXPECT_EQ(lion->MaxPlayingCount(), 0);
    EXPECT_EQ(lion->duplicateCount(), 0);
}

TEST_F(SoundTest, LoopedSoundRestartsOnItsOwnBufferAndTakesVolumeAtOnce) {
    start();
    TWaveCollectionItem* savanna = item("Savanna");
    const int own = 9; // the primary buffer is 0, then one buffer per item in order
    savanna->Play(false);
    ASSERT_EQ(played(), std::vector<int>{own});
    EXPECT_TRUE(device.buffer(own).looping);
    device.advance(30000);
    EXPECT_TRUE(device.buffer(own).playing);
    savanna->Play(false);
    EXPECT_EQ(device.buffer(own).frame, 0.0);
    EXPECT_EQ(savanna->duplicateCount(), 0);
    savanna->setVolume(-1200);
    EXPECT_EQ(device.buffer(own).volume, -1200);
    savanna->Stop();
    EXPECT_FALSE(device.buffer(own).playing);
    savanna->setVolume(0);
    EXPECT_EQ(savanna->Volume(), 0);
}

TEST_F(SoundTest, NoDeviceRunsSilentWithoutError) {
    device.noDevice = true;
    EXPECT_NO_THROW(sound->loaded());
    EXPECT_FALSE(sound->initialized());
    EXPECT_NO_THROW(item("Theme")->Play(false));
    EXPECT_NO_THROW(item("Savanna")->Play(false));
    item("Savanna")->setVolume(-50);
    EXPECT_EQ(item("Savanna")->Volume(), -50);
    EXPECT_NO_THROW(item("Savanna")->Stop());
    EXPECT_TRUE(device.events().empty());
    EXPECT_EQ(raised<EDirectSoundError>([&] { sound->Initialize(); }),
              QStringLiteral("DirectSound を初期化できません"));
}

TEST_F(SoundTest, DeviceFailuresRaiseTheirMessages) {
    auto messageOf = [&] { return raised([&] { sound->Initialize(); }); };
    device.failLock = true;
    EXPECT_EQ(messageOf(), QStringLiteral("サウンドバッファ をロックできません"));
    device.failLock = false;
    device.failCreate = true;
    EXPECT_EQ(messageOf(), QStringLiteral("プライマリバッファ を作成できません"));
    EXPECT_FALSE(sound->initialized());
    device.failCreate = false;
    EXPECT_EQ(messageOf(), QString());
    // A refused duplicate plays nothing and leaves no broken copy behind.
    device.failDuplicate = true;
    EXPECT_NO_THROW(item("Bang")->Play(false));
    EXPECT_EQ(item("Bang")->duplicateCount(), 0);

    TDXSound orphan(nullptr);
    EXPECT_EQ(raised<EDXSoundError>([&] { orphan.Initialize(); }),
              QStringLiteral("フォームが見つかりません"));
}

TEST_F(SoundTest, LostBuffersAreReloadedAndPlayingGoesOn) {
    start();
    item("Type")->Play(false);
    device.loseBuffers();
    device.clearEvents();
    // The play that meets the loss reloads every sound; the next one sounds again.
    item("Type")->Play(false);
    EXPECT_EQ(device.events(Op::Create).size(), 11u);
    device.clearEvents();
    item("Type")->Play(false);
    ASSERT_EQ(played().size(), 1u);
    EXPECT_FALSE(device.buffer(played()[0]).lost);
}

TEST_F(SoundTest, FinalizingAndDestroyingFreeEveryBuffer) {
    start();
    item("Type")->Play(false);
    item("Savanna")->Play(false);
    sound->Initialize(); // a second start finalises the first
    EXPECT_EQ(device.devicesOpen(), 1);
    form.reset();
    EXPECT_EQ(device.devicesOpen(), 0);
    for (int i = 0; i < device.bufferCount(); ++i)
        EXPECT_TRUE(device.buffer(i).released) << i;
}
