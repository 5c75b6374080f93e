// The RIFF WAVE reader and the built-in images.
#include "platform/sound/wave.h"
#include "presentation/built_in_sounds.h"
#include "support/raised.h"

#include <QBuffer>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace quillon;
using quillon::testing::raised;

namespace {

QByteArray le32(uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(b, 4);
}

QByteArray formatRecord(uint32_t rate, int length) {
    QByteArray f;
    f += QByteArray("\x01\x00\x01\x00", 4) + le32(rate) + le32(rate) +
         QByteArray("\x01\x00\x08\x00", 4);
    if (length == 18)
        f += QByteArray("\x00\x00", 2);
    return f;
}

QByteArray chunk(const char* id, const QByteArray& body, int64_t declared = -1) {
    return QByteArray(id, 4) + le32(declared < 0 ? uint32_t(body.size()) : uint32_t(declared)) +
           body;
}

QByteArray riff(const QByteArray& chunks, const char* form = "WAVE") {
    return "RIFF" + le32(uint32_t(chunks.size() + 4)) + QByteArray(form, 4) + chunks;
}

QByteArray samples(int n) {
    QByteArray s;
    for (int i = 0; i < n; ++i)
        s += char(i * 7);
    return s;
}

QString messageOfLoading(const QByteArray& image) {
    TWave wave;
    try {
        wave.loadFromBytes(image);
    } catch (const Exception& e) {
        EXPECT_EQ(wave.dataSize(), 0);
        return e.message();
    }
    return {};
}

} // namespace

TEST(WaveReader, LoadsSixteenAndEighteenByteFormatsAndOddLengthsWithoutPad) {
    for (int fmtLength : {16, 18}) {
        const QByteArray data = samples(14933);
        TWave wave;
        wave.loadFromBytes(
            riff(chunk("fmt ", formatRecord(22050, fmtLength)) + chunk("data", data)));
        EXPECT_EQ(wave.formatSize(), fmtLength);
        EXPECT_EQ(wave.samplesPerSec(), 22050u);
        EXPECT_EQ(wave.bitsPerSample(), 8);
        ASSERT_EQ(wave.dataSize(), 14933);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wave.data()), wave.dataSize()), data);
    }
}

TEST(WaveReader, SkipsOtherChunksAndTakesTheLastFormatAndData) {
    const QByteArray data = samples(101);
    // An odd-length list chunk without its pad byte sits between the format and the data.
    const QByteArray image = riff(chunk("fmt ", formatRecord(8000, 16)) + chunk("LIST", "abc") +
                                  chunk("data", samples(5)) +
                                  chunk("fmt ", formatRecord(11025, 18)) + chunk("data", data));
    TWave wave;
    wave.loadFromBytes(image);
    EXPECT_EQ(wave.samplesPerSec(), 11025u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wave.data()), wave.dataSize()), data);
}

TEST(WaveReader, RefusesBadImagesWithTheirMessages) {
    const QByteArray fmt = chunk("fmt ", formatRecord(8000, 16));
    const QString readError = QStringLiteral("ストリームからの読み込みエラー");
    EXPECT_EQ(messageOfLoading(riff(fmt + chunk("data", samples(10)), "AVI ")),
              QStringLiteral("不正な Wave です"));
    EXPECT_EQ(messageOfLoading("RIFX" + riff(fmt).mid(4)), QStringLiteral("不正な Wave です"));
    EXPECT_EQ(messageOfLoading("RIFF\x10\x00"), readError);
    EXPECT_EQ(messageOfLoading(riff(fmt + chunk("data", samples(10), 11))), readError);
    // Lying lengths: nothing of the claimed size is allocated before the read fails.
    EXPECT_EQ(messageOfLoading(riff(fmt + chunk("data", samples(10), 0xFFFFFFFF))), readError);
    EXPECT_EQ(messageOfLoading(riff(chunk("fmt ", formatRecord(8000, 16), 0xFFFFFFF0))), readError);
    EXPECT_EQ(messageOfLoading(
                  riff(fmt + chunk("junk", samples(3), 0x7FFFFFFF) + chunk("data", samples(4)))),
              QString());
}

TEST(WaveReader, WithoutDataChunkLoadsEmpty) {
    TWave wave;
    wave.loadFromBytes(riff(chunk("fmt ", formatRecord(8000, 18))));
    EXPECT_EQ(wave.dataSize(), 0);
    EXPECT_EQ(wave.formatSize(), 18);
}

TEST(WaveReader, StreamStateErrorsAndClampedReads) {
    QBuffer outer;
    outer.setData(riff(chunk("fmt ", formatRecord(8000, 16)) + chunk("data", samples(10))));
    outer.open(QIODevice::ReadOnly);
    TWaveStream reader(outer);
    char buffer[32];
    EXPECT_EQ(raised<EWaveStreamError>([&] { reader.read(buffer, 4); }),
              QStringLiteral("ストリームは開かれていません"));
    reader.open(false);
    EXPECT_THROW(reader.open(false), EWaveStreamError);
    EXPECT_EQ(reader.size(), 10);
    EXPECT_EQ(reader.seek(-3, TCustomWaveStream::Origin::End), 7);
    EXPECT_EQ(reader.read(buffer, 32), 3);
    EXPECT_EQ(reader.seek(50, TCustomWaveStream::Origin::Current), 10);
    EXPECT_EQ(reader.seek(-50, TCustomWaveStream::Origin::Beginning), 0);
}

TEST(Wave, SampleBlockGrowsInWholeBlocksAndCopies) {
    TWave wave;
    wave.setDataSize(1);
    EXPECT_EQ(wave.dataCapacity(), 8096);
    const uint8_t* block = wave.data();
    wave.setDataSize(8096);
    EXPECT_EQ(wave.data(), block); // same block: no re-allocation
    wave.setDataSize(8097);
    EXPECT_EQ(wave.dataCapacity(), 2 * 8096);
    wave.setDataSize(-5);
    EXPECT_EQ(wave.dataSize(), 0);
    EXPECT_EQ(wave.data(), nullptr);

    TWave source;
    source.loadFromBytes(riff(chunk("fmt ", formatRecord(8000, 18)) + chunk("data", samples(9))));
    wave.assign(&source);
    EXPECT_EQ(wave.saveToBytes(), source.saveToBytes());
    wave.assign(&wave);
    EXPECT_EQ(wave.dataSize(), 9);
    wave.assign(nullptr);
    EXPECT_EQ(wave.dataSize(), 0);
    EXPECT_EQ(wave.formatSize(), 0);
}

TEST(Wave, WrittenImageHasTheStoredLayout) {
    const QByteArray image =
        riff(chunk("fmt ", formatRecord(8000, 18)) + chunk("data", samples(7)));
    TWave wave;
    wave.loadFromBytes(image);
    EXPECT_EQ(wave.saveToBytes(), image);
}

TEST(builtInSounds, ImagesMatchTheTable) {
    ASSERT_EQ(builtInSounds().size(), 11);
    for (const BuiltInSound& row : builtInSounds()) {
        SCOPED_TRACE(row.name.toStdString());
        QFile file(QStringLiteral(":/sounds/%1.wav").arg(row.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        // RIFF header, format chunk and data chunk, with no pad byte after odd data.
        EXPECT_EQ(file.size(), 12 + 8 + row.formatBytes + 8 + row.dataBytes);
        TWave wave;
        wave.readWave(file);
        EXPECT_EQ(wave.samplesPerSec(), row.rate);
        EXPECT_EQ(wave.formatSize(), row.formatBytes);
        EXPECT_EQ(wave.dataSize(), row.dataBytes);
        EXPECT_EQ(wave.channels(), 1);
        EXPECT_EQ(wave.bitsPerSample(), 8);
        const int first = wave.data()[0], last = wave.data()[wave.dataSize() - 1];
        if (row.looped)
            EXPECT_LE(std::abs(last - first), 12); // the loop's seam has no step
        else
            EXPECT_LE(std::abs(last - 128), 1); // ends at silence
    }
}
