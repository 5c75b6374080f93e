// The offline mix, by either mixer: cues start on their exact sample, at the player's
// gain, in any order, and the mix is silent where nothing plays; and both mixers make
// the same sound of a card.
#include "app/export/export_pipeline.h"
#include "platform/sound/loopback_mixer.h"
#include "platform/sound/software_mixer.h"
#include "platform/sound/wave.h"
#include "support/raised.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::raised;

// A PCM wave of the given layout holding the bytes.
void makeWave(TWave& wave, int rate, int channels, int bits, const QByteArray& bytes) {
    QByteArray format(16, '\0');
    const int block = channels * bits / 8;
    qToLittleEndian<quint16>(1, format.data());
    qToLittleEndian<quint16>(quint16(channels), format.data() + 2);
    qToLittleEndian<quint32>(quint32(rate), format.data() + 4);
    qToLittleEndian<quint32>(quint32(rate * block), format.data() + 8);
    qToLittleEndian<quint16>(quint16(block), format.data() + 12);
    qToLittleEndian<quint16>(quint16(bits), format.data() + 14);
    wave.SetFormat(format);
    wave.setDataSize(int32_t(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), wave.data());
}

// An 8-bit mono wave at the mix's own rate: a burst of full level, then silence.
void makeClick(TWave& wave, int burst = 64, int length = 4800) {
    QByteArray bytes(length, char(128));
    std::fill_n(bytes.begin(), burst, char(255));
    makeWave(wave, CueMixer::SampleRate, 1, 8, bytes);
}

// Frame indices where the left side rises out of silence.
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

// The loopback mixer where OpenAL Soft can render offline, else nothing.
template <typename M> std::unique_ptr<CueMixer> makeMixer(int rate, int channels) {
    if constexpr (std::is_same_v<M, LoopbackMixer>) {
        try {
            return std::make_unique<LoopbackMixer>(rate, channels);
        } catch (const Exception&) {
            return nullptr;
        }
    } else {
        return std::make_unique<M>(rate, channels);
    }
}

template <typename M> class CueMixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        mixer = makeMixer<M>(CueMixer::SampleRate, CueMixer::Channels);
        if (!mixer)
            GTEST_SKIP() << "OpenAL Soft cannot render offline here";
        makeClick(click);
        mixer->addSound(QStringLiteral("Click"), click);
    }
    TWave click;
    std::unique_ptr<CueMixer> mixer;
    std::vector<int16_t> mix;
};
using Mixers = ::testing::Types<LoopbackMixer, SoftwareMixer>;
TYPED_TEST_SUITE(CueMixerTest, Mixers);

TYPED_TEST(CueMixerTest, CuesStartOnTheirSample) {
    this->mixer->startCue(QStringLiteral("Click"), 1000);
    this->mixer->startCue(QStringLiteral("click"), 12345);
    this->mixer->startCue(QStringLiteral("CLICK"), 5003);
    for (int64_t end = 1600; end <= 16000; end += 1600)
        this->mixer->renderUntil(end, this->mix);
    this->mixer->finish(16000, this->mix);
    ASSERT_EQ(this->mix.size(), size_t(16000 * 2));
    EXPECT_EQ(onsets(this->mix), (std::vector<int64_t>{1000, 5003, 12345}));
}

// The mono mix (as the videos carry it) is the stereo mix's one side, at any rate: the same
// level and the same samples, cut to the same end, the cues on the same samples.
TYPED_TEST(CueMixerTest, MonoIsOneSideOfTheStereoMixAtTheSameLevel) {
    // One mixer at a time: a loopback mixer makes its context the thread's own.
    this->mixer.reset();
    const auto render = [this](int rate, int channels) {
        std::vector<int16_t> out;
        const std::unique_ptr<CueMixer> m = makeMixer<TypeParam>(rate, channels);
        m->addSound(QStringLiteral("Click"), this->click);
        m->startCue(QStringLiteral("Click"), 700);
        m->startCue(QStringLiteral("Click"), 3001, -600);
        m->renderUntil(2000, out);
        m->finish(9000, out);
        return out;
    };
    for (const int rate : {CueMixer::SampleRate, 22050}) {
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

TYPED_TEST(CueMixerTest, VolumeFollowsThePlayersGainRule) {
    this->mixer->startCue(QStringLiteral("Click"), 100);
    this->mixer->startCue(QStringLiteral("Click"), 10100, -2000); // -20 dB: a tenth
    this->mixer->finish(20000, this->mix);
    const auto peak = [&](size_t from, size_t to) {
        int top = 0;
        for (size_t i = from * 2; i < to * 2; ++i)
            top = std::max(top, std::abs(int(this->mix[i])));
        return top;
    };
    const int full = peak(0, 10000), tenth = peak(10000, 20000);
    ASSERT_GT(full, 10000);
    EXPECT_NEAR(double(tenth) / full, 0.1, 0.01);
}

// A cue given for a sample already mixed starts at once; the end may fall inside a
// cue, which is cut there.
TYPED_TEST(CueMixerTest, LateCuesStartAtOnceAndTheEndCutsACue) {
    this->mixer->renderUntil(3200, this->mix);
    this->mixer->startCue(QStringLiteral("Click"), 1000); // already mixed past
    this->mixer->startCue(QStringLiteral("Click"), 7990); // ends well after the end
    this->mixer->finish(8000, this->mix);
    ASSERT_EQ(this->mix.size(), size_t(8000 * 2));
    EXPECT_EQ(onsets(this->mix), (std::vector<int64_t>{3200, 7990}));
    EXPECT_EQ(this->mixer->outputPosition(), 8000);
}

// Unknown names are refused; waves with nothing playable are silent; a trailing part of
// a sample frame is left out; stereo waves of other rates and sizes play.
TYPED_TEST(CueMixerTest, UnknownNamesAreRefusedAndOddWavesAreSafe) {
    EXPECT_EQ(raised([&] { this->mixer->startCue(QStringLiteral("Gong"), 0); }),
              QStringLiteral("Wave 'Gong' が見つかりません"));
    TWave empty, half, stereo;
    this->mixer->addSound(QStringLiteral("Nothing"), empty);
    // One byte of a 16-bit sample: no whole frame.
    makeWave(half, 11025, 1, 16, QByteArray(1, char(0x7f)));
    this->mixer->addSound(QStringLiteral("Half"), half);
    // 16-bit stereo at 8000 Hz, loud on the left only, with a stray byte at the end.
    QByteArray frames;
    for (int i = 0; i < 400; ++i)
        frames.append("\x00\x60\x00\x00", 4);
    frames.append('\x7f');
    makeWave(stereo, 8000, 2, 16, frames);
    this->mixer->addSound(QStringLiteral("Left"), stereo);
    this->mixer->startCue(QStringLiteral("nothing"), 0);
    this->mixer->startCue(QStringLiteral("HALF"), 0);
    this->mixer->startCue(QStringLiteral("Left"), 2400);
    this->mixer->finish(9600, this->mix);
    ASSERT_EQ(this->mix.size(), size_t(9600 * 2));
    EXPECT_EQ(onsets(this->mix), std::vector<int64_t>{2400});
    // 400 frames at 8000 Hz: 2400 at 48000, on the left side only, at its own level.
    for (const int64_t frame : {int64_t(2410), int64_t(4700)}) {
        EXPECT_NEAR(this->mix[size_t(frame) * 2], 0x6000, 200) << frame;
        EXPECT_NEAR(this->mix[size_t(frame) * 2 + 1], 0, 200) << frame;
    }
    EXPECT_NEAR(this->mix[4900 * 2], 0, 200);
}

struct Cue {
    const char* name;
    int64_t sample; // at 48000
    int32_t volume;
};

// The cues mixed as the export mixes them: each frame's cues, then the mix up to there.
std::vector<int16_t> renderCard(CueMixer& mixer, const std::vector<Cue>& cues, int64_t end) {
    loadCardSounds(mixer);
    std::vector<int16_t> out;
    const auto at = [&](int64_t sample) { return sample * mixer.rate() / ExportSampleRate; };
    for (const Cue& cue : cues) {
        if (at(cue.sample) > mixer.outputPosition())
            mixer.renderUntil(at(cue.sample), out);
        mixer.startCue(QString::fromLatin1(cue.name), at(cue.sample), cue.volume);
    }
    mixer.finish(at(end), out);
    return out;
}

// Both mixers make the same sound of the program's own cues, in the videos' two layouts:
// the same length, each cue on the same sample (the two waves line up best unshifted),
// and, as long as the cues stay below full scale as the program's do, waves within
// dithering of each other: RMS difference under 0.1 % of full scale, no sample more
// than 1 % apart. Cues that pass full scale together are limited, not clipped, close
// to the loopback device's limiter (RMS difference under 1 %).
TEST(CueMixers, BothMakeTheSameSoundOfACard) {
    std::vector<Cue> card = {{"Bang", 1001, 0},       {"Type", 30011, 0},   {"TYPE", 69999, -1000},
                             {"Lion", 110017, -1000}, {"GotIt", 159991, 0}, {"Owl", 200001, -1000},
                             {"Get15", 230001, 0},    {"Condle", 260003, 0}};
    // Fast typing, many copies sounding at once; then a credits card's closing pair.
    for (int64_t at = 300007; at < 400000; at += 4801)
        card.push_back({"type", at, 0});
    card.push_back({"Theme", 400009, 0});
    card.push_back({"Joke", 400009, 0});
    const std::vector<Cue> overload = {{"Type", 1001, 0},
                                       {"Type", 1001, 0},
                                       {"Type", 1001, 0},
                                       {"Type", 1001, 0},
                                       {"Bang", 20011, 0}};
    int compared = 0;
    for (const auto& [rate, channels] : {std::pair{22050, 1}, std::pair{48000, 2}}) {
        for (const bool loud : {false, true}) {
            SCOPED_TRACE(::testing::Message() << rate << (loud ? " overload" : " card"));
            const std::vector<Cue>& cues = loud ? overload : card;
            const int64_t end = loud ? 40000 : 600003;
            std::vector<int16_t> theirs;
            if (const std::unique_ptr<CueMixer> loopback = makeMixer<LoopbackMixer>(rate, channels))
                theirs = renderCard(*loopback, cues, end);
            else
                continue;
            SoftwareMixer software(rate, channels);
            const std::vector<int16_t> ours = renderCard(software, cues, end);
            ASSERT_EQ(ours.size(), size_t(end * rate / ExportSampleRate * channels));
            ASSERT_EQ(theirs.size(), ours.size());
            for (const Cue& cue : cues) {
                const auto from = size_t(cue.sample * rate / ExportSampleRate);
                const auto lineUp = [&](int lag) {
                    double sum = 0;
                    for (size_t i = from; i < from + 2000; ++i)
                        sum += double(ours[i * channels]) * theirs[(i + lag) * channels];
                    return sum;
                };
                for (const int lag : {-3, -2, -1, 1, 2, 3})
                    EXPECT_GT(lineUp(0), lineUp(lag)) << cue.name << " at " << cue.sample;
            }
            double squares = 0;
            int worst = 0, peakOurs = 0, peakTheirs = 0;
            for (size_t i = 0; i < ours.size(); ++i) {
                const int d = ours[i] - theirs[i];
                squares += double(d) * d;
                worst = std::max(worst, std::abs(d));
                peakOurs = std::max(peakOurs, int(std::abs(ours[i])));
                peakTheirs = std::max(peakTheirs, int(std::abs(theirs[i])));
            }
            const double rms = std::sqrt(squares / double(ours.size())) / 32768.0;
            RecordProperty((loud ? "rms_overload_" : "rms_card_") + std::to_string(rate),
                           std::to_string(rms));
            if (loud) {
                EXPECT_LT(rms, 0.01);
                EXPECT_GE(peakOurs, 32000);
                EXPECT_LE(peakOurs, 32767); // never clipped at -32768
            } else {
                EXPECT_LT(rms, 0.001);
                EXPECT_LT(worst, 328);
                EXPECT_NEAR(peakOurs, peakTheirs, 50);
                EXPECT_GT(peakOurs, 16000);
            }
            ++compared;
        }
    }
    if (compared == 0)
        GTEST_SKIP() << "OpenAL Soft cannot render offline here";
}

} // namespace
} // namespace quillon
