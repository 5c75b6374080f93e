// The export of a card to a file: the formats come out as asked (checked with ffprobe),
// the cues are heard on their samples in the encoded sound, and every failure and a
// cancel leave no file behind and an older file untouched.
#include "app/export/export_pipeline.h"
#include "platform/media/ffmpeg_encoder.h"
#include "support/fake_export_source.h"
#include "support/raised.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::FakeCard;
using testing::FakeExportSource;
using testing::raised;

QJsonObject probe(const QString& file) {
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_streams"),
                   QStringLiteral("-show_format"), QStringLiteral("-of"), QStringLiteral("json"),
                   file});
    ffprobe.waitForFinished(30000);
    return QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
}

// The decoded sound of a file as 48 kHz mono 16-bit samples.
std::vector<int16_t> decodedSound(const QString& file) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), file,
                  QStringLiteral("-map"), QStringLiteral("0:a"), QStringLiteral("-ac"),
                  QStringLiteral("1"), QStringLiteral("-ar"), QStringLiteral("48000"),
                  QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-")});
    ffmpeg.waitForFinished(30000);
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    std::vector<int16_t> samples(size_t(bytes.size() / 2));
    memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

// Where the sound first rises after at least 100 ms of quiet, in samples. The typing
// cue's first click is loud; its later ones are quieter than the threshold.
std::vector<int64_t> soundOnsets(const std::vector<int16_t>& s) {
    std::vector<int64_t> found;
    int64_t quiet = 48000;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool loud = std::abs(s[i]) > 5000;
        if (loud && quiet >= 4800)
            found.push_back(int64_t(i));
        quiet = loud ? 0 : quiet + 1;
    }
    return found;
}

FakeCard framesOnly(int64_t frames) {
    FakeCard card;
    card.frames = frames;
    return card;
}

class ExportPipelineTest : public ::testing::Test {
protected:
    ExportOptions options(const QString& name, QSize size = {320, 240}) {
        ExportOptions o;
        o.file = dir.filePath(name);
        o.format = exportFormatOf(o.file);
        o.size = size;
        return o;
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    void run(FakeCard card, const ExportOptions& o) {
        FakeExportSource source(std::move(card));
        exportCard(source, o, {}, cancel);
    }
    bool haveFfmpeg() const { return !FfmpegEncoder::findProgram().isEmpty(); }

    QTemporaryDir dir;
    std::atomic_bool cancel{false};
};

TEST_F(ExportPipelineTest, PictureIsTheFinishedCard) {
    const ExportOptions o = options(QStringLiteral("card.png"));
    int64_t reported = 0;
    FakeExportSource source(FakeCard{});
    exportCard(
        source, o, [&](const ExportProgress& p) { reported = p.frames; }, cancel);
    const QImage written(o.file);
    EXPECT_EQ(written.size(), QSize(320, 240));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), source.finishedCard());
    EXPECT_EQ(files(), QStringList{QStringLiteral("card.png")});
    EXPECT_EQ(reported, 1);
}

TEST_F(ExportPipelineTest, Mp4AndWebMHaveTheirCodecsSizeAndLength) {
    if (!haveFfmpeg())
        GTEST_SKIP() << "no ffmpeg";
    struct Case {
        const char* name;
        const char* video;
        const char* audio;
        const char* rate;
    };
    // The sound as the built-in sounds are: mono, at their own rate where the codec takes it.
    for (const Case c :
         {Case{"card.mp4", "h264", "aac", "22050"}, Case{"card.webm", "vp9", "opus", "48000"}}) {
        SCOPED_TRACE(c.name);
        const ExportOptions o = options(QString::fromLatin1(c.name));
        run(framesOnly(45), o);
        const QJsonObject info = probe(o.file);
        const QJsonArray streams = info[QStringLiteral("streams")].toArray();
        ASSERT_EQ(streams.size(), 2);
        const QJsonObject video = streams[0].toObject(), audio = streams[1].toObject();
        EXPECT_EQ(video[QStringLiteral("codec_name")].toString(), QLatin1String(c.video));
        EXPECT_EQ(video[QStringLiteral("width")].toInt(), 320);
        EXPECT_EQ(video[QStringLiteral("height")].toInt(), 240);
        EXPECT_EQ(video[QStringLiteral("pix_fmt")].toString(), QStringLiteral("yuv420p"));
        EXPECT_EQ(audio[QStringLiteral("codec_name")].toString(), QLatin1String(c.audio));
        EXPECT_EQ(audio[QStringLiteral("sample_rate")].toString(), QLatin1String(c.rate));
        EXPECT_EQ(audio[QStringLiteral("channels")].toInt(), 1);
        const double duration = info[QStringLiteral("format")]
                                    .toObject()[QStringLiteral("duration")]
                                    .toString()
                                    .toDouble();
        EXPECT_NEAR(duration, 1.5, 0.05);
    }
    EXPECT_EQ(files(), (QStringList{QStringLiteral("card.mp4"), QStringLiteral("card.webm")}));
}

TEST_F(ExportPipelineTest, CuesAreHeardOnTheirSamplesInTheEncodedSound) {
    if (!haveFfmpeg())
        GTEST_SKIP() << "no ffmpeg";
    // Cue samples off the frame grid, as a card's ticks are.
    const std::vector<int64_t> at = {7211, 40000, 71117};
    FakeCard card = framesOnly(60);
    for (int64_t s : at)
        card.cues.push_back(CueStart{QStringLiteral("Type"), s});
    for (const char* name : {"cues.mp4", "cues.webm"}) {
        SCOPED_TRACE(name);
        const ExportOptions o = options(QString::fromLatin1(name));
        run(card, o);
        const std::vector<int64_t> heard = soundOnsets(decodedSound(o.file));
        ASSERT_EQ(heard.size(), at.size());
        for (size_t i = 0; i < at.size(); ++i)
            EXPECT_NEAR(double(heard[i]), double(at[i]), 48.0) << "cue " << i; // 1 ms
    }
}

} // namespace
} // namespace quillon
