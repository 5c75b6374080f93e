// Export speed, as a multiple of real time, for a 10-second card at 1280 × 720 and
// 1920 × 1080, 30 frames a second, in both video formats; and the time of a PNG export.
// The card is a stand-in drawn like the real one: one large white character on black
// every few frames, each with its typing cue, then the finished card and its sting.
// Usage: bench_export [FOLDER]   (keeps the written files there, for a look)
#include "app/export/export_pipeline.h"
#include "platform/media/ffmpeg_encoder.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "support/fake_export_source.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace quillon;
using quillon::testing::FakeCard;
using quillon::testing::FakeExportSource;

namespace {

constexpr int Fps = 30;
constexpr int64_t Frames = 10 * Fps;
constexpr int FramesPerGlyph = 7;

FakeCard card(QSize size) {
    FakeCard c;
    c.size = size;
    c.fps = Fps;
    c.frames = Frames;
    c.glyphs = true;
    c.framesPerGlyph = FramesPerGlyph;
    for (int64_t f = 0; f < 13 * FramesPerGlyph; f += FramesPerGlyph)
        c.cues.push_back(CueStart{QStringLiteral("Type"), sampleOfFrame(f, Fps)});
    c.cues.push_back(CueStart{QStringLiteral("Theme"), sampleOfFrame(13 * FramesPerGlyph, Fps)});
    return c;
}

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall, own, ffmpeg; // seconds; processor time of this program and of ffmpeg
};

Timing timingOf(const ExportOptions& options) {
    FakeExportSource source(card(options.size));
    const std::atomic_bool cancel{false};
    const double own = cpuSeconds(RUSAGE_SELF), children = cpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer timer;
    timer.start();
    exportCard(source, options, {}, cancel);
    return Timing{double(timer.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - own,
                  cpuSeconds(RUSAGE_CHILDREN) - children};
}

ExportOptions optionsFor(const QDir& dir, QSize size, const char* suffix) {
    ExportOptions o;
    o.file = dir.filePath(QStringLiteral("card-%1x%2.%3")
                              .arg(size.width())
                              .arg(size.height())
                              .arg(QString::fromLatin1(suffix)));
    o.format = exportFormatOf(o.file);
    o.size = size;
    o.fps = Fps;
    return o;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QuillonApplication app(argc, argv);
    registerFontSubstitutions();
    QTemporaryDir scratch;
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::printf("cannot make %s\n", qPrintable(dir.path()));
        return 1;
    }

    const double cardSeconds = double(Frames) / Fps;
    if (FfmpegEncoder::findProgram().isEmpty()) {
        std::printf("no ffmpeg: video exports not measured\n");
    } else {
        std::printf("video export of a %.0f s card at %d fps (real time = 1.0x)\n", cardSeconds,
                    Fps);
        for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)})
            for (const char* suffix : {"mp4", "webm"}) {
                const Timing t = timingOf(optionsFor(dir, size, suffix));
                std::printf("  %4dx%-4d %-4s  %6.2f s  %5.1fx real time   processor: "
                            "%.2f s here, %.2f s ffmpeg\n",
                            size.width(), size.height(), suffix, t.wall, cardSeconds / t.wall,
                            t.own, t.ffmpeg);
                std::fflush(stdout);
            }
    }
    // The first PNG pays for loading the fonts, as a command-line export does once.
    const ExportOptions png = optionsFor(dir, QSize(1920, 1080), "png");
    const double first = timingOf(png).wall;
    double best = first;
    for (int i = 0; i < 5; ++i)
        best = std::min(best, timingOf(png).wall);
    std::printf("PNG export at 1920x1080: first %.0f ms, then %.0f ms\n", first * 1e3, best * 1e3);
    return 0;
}
