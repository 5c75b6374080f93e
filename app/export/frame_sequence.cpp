#include "app/export/frame_sequence.h"

#include "platform/core/pending_file.h"
#include "platform/media/ffmpeg_encoder.h"
#include "platform/media/repeated_frames.h"
#include "platform/sound/loopback_mixer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdio>

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& path) {
    throw Exception(formatMessage(QStringLiteral("%s に書き込めません"), {path}));
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
        throw Exception(QStringLiteral("カードの絵を描けませんでした"));
    return bytes;
}

// 16-bit stereo PCM in a RIFF WAVE file.
QByteArray waveFileOf(const std::vector<int16_t>& samples, int rate) {
    QByteArray out;
    auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
    };
    const auto data = uint32_t(samples.size() * sizeof(int16_t));
    out.append("RIFF");
    put(36 + data, 4);
    out.append("WAVEfmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(2, 2); // stereo
    put(uint32_t(rate), 4);
    put(uint32_t(rate) * 4, 4);
    put(4, 2);
    put(16, 2);
    out.append("data");
    put(data, 4);
    out.append(reinterpret_cast<const char*>(samples.data()), qsizetype(data));
    return out;
}

// The sequence's folder, made whole in a hidden folder beside it (or inside it, when it
// is there already and holds other files) and moved into place at the end.
class StagedFolder {
public:
    explicit StagedFolder(const QString& folder) : folder_(QDir(folder).absolutePath()) {
        const QFileInfo info(folder_);
        into_ = info.isDir() && !QDir(folder_).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                       QDir::Hidden | QDir::System);
        const QString beside = into_ ? folder_ : info.absolutePath();
        if (!QFileInfo(beside).isDir())
            cannotWrite(folder);
        const QString prefix = QLatin1Char('.') + info.fileName() + QLatin1Char('-');
        removeAbandonedStages(QDir(beside), prefix);
        stage_ = std::make_unique<QTemporaryDir>(
            QDir(beside).filePath(prefix + QStringLiteral("XXXXXX")));
        if (!stage_->isValid())
            cannotWrite(folder);
        // Locked while this export lives, so that a stage left by a killed one is known.
        mark_ = std::make_unique<PendingFile>(stage_->filePath(MarkName));
    }

    QString filePath(const QString& name) const { return stage_->filePath(name); }

    void commit() {
        mark_.reset();
        if (!into_) {
            // An empty folder of that name gives way to the full one.
            QDir().rmdir(folder_);
            if (std::rename(QFile::encodeName(stage_->path()).constData(),
                            QFile::encodeName(folder_).constData()) != 0)
                cannotWrite(folder_);
            stage_->setAutoRemove(false);
            // Made private while it was being written; a folder like any other now.
            QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
            return;
        }
        // Each file replaces one of its name at once; the others in the folder stay.
        const QDir stage(stage_->path());
        for (const QString& name : stage.entryList(QDir::Files)) {
            if (std::rename(QFile::encodeName(stage.filePath(name)).constData(),
                            QFile::encodeName(QDir(folder_).filePath(name)).constData()) != 0)
                cannotWrite(QDir(folder_).filePath(name));
        }
    }

private:
    // Stages whose export is gone (killed, a power cut) are removed whole; those of a live
    // export, and hidden folders that are not stages, stay.
    static void removeAbandonedStages(const QDir& beside, const QString& prefix) {
        const QStringList entries =
            beside.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
        for (const QString& entry : entries) {
            if (!entry.startsWith(prefix) || entry.size() != prefix.size() + 6)
                continue;
            const QString mark = QDir(beside.filePath(entry)).filePath(MarkName);
            if (removeAbandonedParts(mark) > 0 && !hasParts(mark))
                QDir(beside.filePath(entry)).removeRecursively();
        }
    }

    static inline const QString MarkName = QStringLiteral(".stage");
    QString folder_;
    bool into_ = false;
    std::unique_ptr<QTemporaryDir> stage_;
    std::unique_ptr<PendingFile> mark_;
};

} // namespace

void exportFrameSequence(ExportSource& source, const ExportOptions& options,
                         const ExportProgressCallback& progress, const std::atomic_bool& cancel) {
    const FrameFiles files = frameFilesOf(options.file);
    LoopbackMixer mixer;
    loadCardSounds(mixer);
    StagedFolder folder(files.folder);

    // A repeated frame is the same file again: encoded once, written as often as shown.
    RepeatedFrames repeats;
    QByteArray png;
    std::vector<int16_t> sound;
    const int64_t expected = source.expectedFrames();
    int64_t frames = 0;
    while (!source.atEnd()) {
        if (cancel.load())
            throw EExportCancelled();
        const QImage frame = source.nextFrame();
        if (frame.isNull() || frame.size() != options.size)
            throw Exception(QStringLiteral("カードの絵を描けませんでした"));
        for (const CueStart& cue : source.takeCues())
            mixer.startCue(cue.name, cue.sample);
        mixer.renderUntil(sampleOfFrame(frames + 1, options.fps), sound);
        if (repeats.needed(frame, frames))
            png = pngOf(frame);
        writeWhole(folder.filePath(files.nameOf(frames)), png);
        ++frames;
        if (progress)
            progress(ExportProgress{frames, std::max(expected, frames)});
    }
    if (frames == 0)
        throw Exception(QStringLiteral("カードの絵を描けませんでした"));
    mixer.finish(sampleOfFrame(frames, options.fps), sound);
    writeWhole(folder.filePath(QStringLiteral("sound.wav")),
               waveFileOf(sound, LoopbackMixer::SampleRate));
    if (cancel.load())
        throw EExportCancelled();
    folder.commit();
}

} // namespace quillon
