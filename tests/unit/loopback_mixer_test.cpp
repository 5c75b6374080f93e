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
    wave.SetDataSize(length);
    for (int i = 0; i < length; ++i)
        wave.Data()[i] = i < burst ? 255 : 128;
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
} // namespace
} // namespace quillon
