// The offline mix: cues start on their exact sample, at the player's gain, in any
// order, and the mix is silent where nothing plays.
#include "platform/sound/loopback_mixer.h"
#include "platform/sound/wave.h"
#include "support/raised.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::raised;

// An 8-bit mono wave at the mix's own rate: a burst of full level, then silence.
void makeClick(TWave& wave, int burst = 64, int length = 4800) {
    QByteArray format(16, '\0');
    qToLittleEndian<quint16>(1, format.data());
    qToLittleEndian<quint16>(1, format.data() + 2);
    qToLittleEndian<quint32>(LoopbackMixer::SampleRate, format.data() + 4);
    qToLittleEndian<quint32>(LoopbackMixer::SampleRate, format.data() + 8);
    qToLittleEndian<quint16>(1, format.data() + 12);
    qToLittleEndian<quint16>(8, format.data() + 14);
    wave.SetFormat(format);
    wave.setDataSize(length);
    for (int i = 0; i < length; ++i)
        wave.data()[i] = i < burst ? 255 : 128;
}

// Sample indices where the left channel rises out of silence.
std::vector<int64_t> onsets(const std::vector<int16_t>& mix) {
    std::vector<int64_t> found;
    bool quiet = true;
    int64_t quietRun = 0;
    for (size_t i = 0; i < mix.size(); i += 2) {
        const bool loud = std::abs(mix[i]) > 2000;
        if (loud && quiet)
            found.push_back(int64_t(i / 2));
        quietRun = loud ? 0 : quietRun + 1;
        quiet = quietRun > 200;
    }
    return found;
}

class LoopbackMixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        makeClick(click);
        mixer.addSound(QStringLiteral("Click"), click);
    }
    TWave click;
    LoopbackMixer mixer;
    std::vector<int16_t> mix;
};

TEST_F(LoopbackMixerTest, CuesStartOnTheirSample) {
    mixer.startCue(QStringLiteral("Click"), 1000);
    mixer.startCue(QStringLiteral("click"), 12345);
    mixer.startCue(QStringLiteral("CLICK"), 5003);
    for (int64_t end = 1600; end <= 16000; end += 1600)
        mixer.renderUntil(end, mix);
    mixer.finish(16000, mix);
    ASSERT_EQ(mix.size(), size_t(16000 * 2));
    EXPECT_EQ(onsets(mix), (std::vector<int64_t>{1000, 5003, 12345}));
}
// The mono mix (as the videos carry it) is the stereo mix's one side, at any rate: the same
// level and the same samples, cut to the same end, the cues on the same samples.
TEST_F(LoopbackMixerTest, MonoIsOneSideOfTheStereoMixAtTheSameLevel) {
    // One mixer at a time: each makes its context the thread's own.
    const auto render = [this](int rate, int channels) {
        std::vector<int16_t> out;
        LoopbackMixer m(rate, channels);
        m.addSound(QStringLiteral("Click"), click);
        m.startCue(QStringLiteral("Click"), 700);
        m.startCue(QStringLiteral("Click"), 3001, -600);
        m.renderUntil(2000, out);
        m.finish(9000, out);
        return out;
    };
    for (const int rate : {LoopbackMixer::SampleRate, 22050}) {
        SCOPED_TRACE(rate);
        const std::vector<int16_t> both = render(rate, 2), one = render(rate, 1);
        ASSERT_EQ(one.size(), size_t(9000));
        ASSERT_EQ(both.size(), size_t(9000 * 2));
        int peak = 0;
        for (size_t i = 0; i < one.size(); ++i) {
            ASSERT_EQ(one[i], both[2 * i]) << "sample " << i;
            peak = std::max(peak, std::abs(int(one[i])));
        }
        EXPECT_GT(peak, 10000);
        EXPECT_EQ(onsets(both), (std::vector<int64_t>{700, 3001}));
    }
}
TEST_F(LoopbackMixerTest, VolumeFollowsThePlayersGainRule) {
    mixer.startCue(QStringLiteral("Click"), 100);
    mixer.startCue(QStringLiteral("Click"), 10100, -2000); // -20 dB: a tenth
    mixer.finish(20000, mix);
    const auto peak = [&](size_t from, size_t to) {
        int top = 0;
        for (size_t i = from * 2; i < to * 2; ++i)
            top = std::max(top, std::abs(int(mix[i])));
        return top;
    };
    const int full = peak(0, 10000), tenth = peak(10000, 20000);
    ASSERT_GT(full, 10000);
    EXPECT_NEAR(double(tenth) / full, 0.1, 0.01);
}

TEST_F(LoopbackMixerTest, LateCuesStartAtOnceAndNothingElseSounds) {
    mixer.renderUntil(3200, mix);
    mixer.startCue(QStringLiteral("Click"), 1000); // already mixed past
    mixer.finish(8000, mix);
    ASSERT_EQ(mix.size(), size_t(8000 * 2));
    EXPECT_EQ(onsets(mix), std::vector<int64_t>{3200});
    EXPECT_EQ(mixer.outputPosition(), 8000);
}

TEST_F(LoopbackMixerTest, UnknownNamesAreRefusedAndEmptySoundsAreSilent) {
    EXPECT_EQ(raised([&] { mixer.startCue(QStringLiteral("Gong"), 0); }),
              QStringLiteral("Wave 'Gong' が見つかりません"));
    TWave empty;
    mixer.addSound(QStringLiteral("Nothing"), empty);
    mixer.startCue(QStringLiteral("nothing"), 0);
    mixer.finish(4800, mix);
    EXPECT_TRUE(onsets(mix).empty());
}

} // namespace
} // namespace quillon
