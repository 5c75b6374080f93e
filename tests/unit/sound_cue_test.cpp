// The cues as the title card and the ambience play them.
#include "app/ambience.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/sound/dxwavelist.h"
#include "presentation/built_in_sounds.h"
#include "presentation/disp_form.h"
#include "support/card_doubles.h"
#include "support/software_sound_device.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace quillon;
using namespace quillon::testing;
using Op = SoftwareSoundSystem::Op;

namespace {

class CueTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.emplace(Services{.sound = &device});
        form = std::make_unique<TDispForm>(settings);
        device.clearEvents();
    }
    void TearDown() override {
        form.reset();
        services.reset();
    }
    TWaveCollectionItem* item(const QString& name) {
        return form->DXWaveList1->Items()->FindWave(name);
    }
    // The item a buffer belongs to: the primary buffer is 0, then one per item.
    QString nameOfBuffer(int id) const {
        while (device.buffer(id).original >= 0)
            id = device.buffer(id).original;
        return builtInSounds().at(id - 1).name;
    }

    SoftwareSoundSystem device;
    std::optional<ScopedServices> services;
    FixedSettings settings;
    std::unique_ptr<TDispForm> form;
};

} // namespace

TEST_F(CueTest, PutSoundPlaysUnlessSilent) {
    form->PutSound(QStringLiteral("type"));
    ASSERT_EQ(device.events(Op::Play).size(), 1u);
    EXPECT_EQ(nameOfBuffer(device.events(Op::Play)[0].buffer), QStringLiteral("Type"));
    settings.silent = true;
    form->PutSound(QStringLiteral("Theme"));
    EXPECT_EQ(device.events(Op::Play).size(), 1u);
    settings.silent = false;
    EXPECT_THROW(form->PutSound(QStringLiteral("Moo")), EWaveCollectionError);
}

TEST_F(CueTest, ThirtyTypingCuesOverlap) {
    for (int i = 0; i < 30; ++i) {
        form->PutSound(QStringLiteral("Type"));
        device.advance(10);
    }
    EXPECT_EQ(device.playingBuffers().size(), 30u);
}

TEST_F(CueTest, AmbienceStartsLoopsCallsAndFadesOut) {
    programRandom().setSeed(12345);
    std::vector<QString> calls;
    Ambience ambience(
        nullptr, [this] { return item(QStringLiteral("Savanna")); },
        [&](const QString& name) {
            calls.push_back(name);
            form->PutSound(name);
        });
    QTimer beat;
    int tag = 1;
    ambience.Get15Next = false;
    ambience.tick(tag, &beat);
    EXPECT_EQ(tag, 0);
    EXPECT_TRUE(calls.empty()); // the start tick only starts the background
    const int savanna = 9;
    EXPECT_TRUE(device.buffer(savanna).playing && device.buffer(savanna).looping);

    ambience.CallsLeft = 10;
    int ticks = 0;
    beat.start(2500);
    while (ambience.CallsLeft > 0) {
        ambience.tick(tag, &beat);
        ++ticks;
        device.advance(2500);
    }
    EXPECT_GE(ticks, 10);
    EXPECT_LE(ticks, 20);
    for (size_t i = 0; i < calls.size(); ++i) {
        const bool animal = calls[i] != QLatin1String("Owl") && calls[i] != QLatin1String("Get15");
        if (animal) {
            ASSERT_LT(i + 1, calls.size());
            EXPECT_EQ(calls[i + 1], QStringLiteral("Get15"));
        } else if (calls[i] == QLatin1String("Owl") && i + 1 < calls.size()) {
            EXPECT_NE(calls[i + 1], QStringLiteral("Get15"));
        }
    }

    ambience.tick(tag, &beat); // the end tick
    EXPECT_FALSE(beat.isActive());
    int lowest = 0;
    for (int i = 0; i < 25; ++i) {
        lowest = std::min(lowest, item(QStringLiteral("Savanna"))->Volume());
        ambience.fadeStep();
    }
    EXPECT_EQ(lowest, -1200);
    EXPECT_FALSE(device.buffer(savanna).playing);
    EXPECT_EQ(item(QStringLiteral("Savanna"))->Volume(), 0);
    EXPECT_EQ(device.buffer(savanna).volume, 0);
}
