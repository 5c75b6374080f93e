// A card as a PNG sequence: one picture per frame of the grid, named by the pattern,
// with the card's sound as sound.wav beside them, all made in a staged folder.
#include "app/export/export_pipeline.h"
#include "app/export/frame_sink.h"
#include "platform/core/staged_folder.h"
#include "platform/sound/wave.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>
#include <cstring>

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& path) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Export", "%s に書き込めません"), {path}));
}

void writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        cannotWrite(path);
}

QByteArray pngOf(const QImage& frame) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(pngPictureOf(frame)))
        throw Exception(QCoreApplication::translate("Export", "カードの絵を描けませんでした"));
    return bytes;
}

// 16-bit PCM as a RIFF WAVE image.
QByteArray waveFileOf(const std::vector<int16_t>& samples, int rate, int channels) {
    QByteArray format(16, '\0');
    auto* f = reinterpret_cast<uchar*>(format.data());
    const auto block = uint16_t(channels * 2);
    qToLittleEndian<quint16>(1, f); // PCM
    qToLittleEndian<quint16>(uint16_t(channels), f + 2);
    qToLittleEndian<quint32>(uint32_t(rate), f + 4);
    qToLittleEndian<quint32>(uint32_t(rate) * block, f + 8);
    qToLittleEndian<quint16>(block, f + 12);
    qToLittleEndian<quint16>(16, f + 14);
    TWave wave;
    wave.SetFormat(format);
    const auto bytes = int32_t(samples.size() * sizeof(int16_t));
    wave.setDataSize(bytes);
    if (bytes > 0)
        std::memcpy(wave.data(), samples.data(), size_t(bytes));
    return wave.saveToBytes();
}

class SequenceSink : public FrameSink {
public:
    SequenceSink(const QString& target, int rate, int channels)
        : files_(frameFilesOf(target)), folder_(files_.folder), rate_(rate), channels_(channels) {}

    // A repeated frame is the same file again: encoded once, written as often as shown.
    void writeFrame(const QImage& frame, int64_t index) override {
        png_ = pngOf(frame);
        repeatFrame(index);
    }

    void repeatFrame(int64_t index) override {
        writeWhole(folder_.filePath(files_.nameOf(index)), png_);
    }

    void writeSound(const std::vector<int16_t>& samples) override {
        sound_.insert(sound_.end(), samples.begin(), samples.end());
    }

    void finish() override {
        writeWhole(folder_.filePath(QStringLiteral("sound.wav")),
                   waveFileOf(sound_, rate_, channels_));
        folder_.commit();
    }

private:
    FrameFiles files_;
    StagedFolder folder_;
    int rate_;
    int channels_;
    QByteArray png_;
    std::vector<int16_t> sound_;
};

} // namespace

std::unique_ptr<FrameSink> makeSequenceSink(const ExportOptions& options,
                                            const ExportFormatRow& row, const std::atomic_bool&) {
    return std::make_unique<SequenceSink>(options.file, row.soundRate, row.soundChannels);
}

} // namespace quillon
