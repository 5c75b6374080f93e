// A lost sound device comes back: the watch notices it and opens the device anew, and
// every sound is made again on the new device from the samples kept, a playing loop
// (the soundscape) starting again. Run on OpenAL's null device.
#include "platform/sound/device_watch.h"
#include "platform/sound/dxsound.h"
#include "platform/sound/dxwavelist.h"
#include "platform/sound/openal_device.h"
#include "presentation/built_in_sounds.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace quillon;

TEST(DeviceWatch, ReopensALostDeviceOnEachTickUntilItSucceeds) {
    bool connected = true;
    int attempts = 0;
    bool opens = false;
    DeviceWatch watch([&] { return connected; },
                      [&] {
                          ++attempts;
                          if (opens)
                              connected = true;
                          return opens;
                      });
    EXPECT_TRUE(watch.active());
    EXPECT_TRUE(watch.check());
    EXPECT_EQ(attempts, 0);

    connected = false; // the server went away and is not back yet
    EXPECT_FALSE(watch.check());
    EXPECT_FALSE(watch.check());
    EXPECT_EQ(attempts, 2);
    opens = true;
    EXPECT_TRUE(watch.check());
    EXPECT_TRUE(watch.check());
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(watch.reopenings(), 1);
}

namespace {

class OpenALDeviceLoss : public ::testing::Test {
protected:
    void SetUp() override {
        sound = new TDXSound(&form);
        list = new TDXWaveList(&form);
        list->setDXSound(sound);
        loadBuiltInSounds(*list);
        sound->loaded();
        ASSERT_TRUE(sound->initialized()) << "no OpenAL null device";
        device = dynamic_cast<OpenALDevice*>(&sound->directSound()->soundInterface());
        ASSERT_NE(device, nullptr);
    }
    TWaveCollectionItem* item(const char* name) {
        return list->Items()->FindWave(QString::fromLatin1(name));
    }
    bool anyCopyPlaying(TWaveCollectionItem* sound) {
        for (int i = 0; i < sound->duplicateCount(); ++i)
            if (sound->duplicate(i)->IsPlaying())
                return true;
        return false;
    }

    QWidget form;
    TDXSound* sound = nullptr;
    TDXWaveList* list = nullptr;
    OpenALDevice* device = nullptr;
};

} // namespace

TEST_F(OpenALDeviceLoss, ARunningLoopPlaysOnAfterTheDeviceIsOpenedAnew) {
    EXPECT_TRUE(device->connected());
    EXPECT_TRUE(device->watch().active());
    TWaveCollectionItem* savanna = item("Savanna");
    TWaveCollectionItem* type = item("Type");
    savanna->setVolume(-600);
    savanna->Play(false);
    type->Play(false);
    ASSERT_TRUE(savanna->InitialBuffer()->IsPlaying());
    ASSERT_TRUE(anyCopyPlaying(type));

    ASSERT_TRUE(device->reopen());
    EXPECT_EQ(savanna->InitialBuffer()->status(), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_FALSE(anyCopyPlaying(type)); // a cue cut off by the loss is over
    // The buffers hold their samples on the new device: cues play, copies are reused.
    const int copies = type->duplicateCount();
    type->Play(false);
    EXPECT_TRUE(anyCopyPlaying(type));
    EXPECT_EQ(type->duplicateCount(), copies);
    item("Lion")->Play(false);
    EXPECT_TRUE(anyCopyPlaying(item("Lion")));
    // The fade goes on where it was; a loop stopped before a loss stays stopped.
    savanna->setVolume(savanna->Volume() - 50);
    EXPECT_EQ(savanna->InitialBuffer()->LastResult(), DS_OK);
    savanna->Stop();
    ASSERT_TRUE(device->reopen());
    EXPECT_FALSE(savanna->InitialBuffer()->IsPlaying());
}
