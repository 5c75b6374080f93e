// Export speed, as a multiple of real time, for a card of thirteen characters (about
// eleven seconds with its hold) at 1280 × 720 and 1920 × 1080, 30 frames a second, in
// both video formats; and the time of a PNG export. The card is the real one, played by
// the card engine with the initial settings.
// Usage: bench_export [FOLDER]   (keeps the written files there, for a look)
#include "app/export/card_source.h"
#include "app/export/export_pipeline.h"
#include "platform/media/ffmpeg_encoder.h"
#include "platform/text/sjis.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace quillon;
namespace {

constexpr int Fps = 30;

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall, own, ffmpeg; // seconds; processor time of this program and of ffmpeg
    double card;              // seconds of card written
};

Timing timingOf(const ExportOptions& options) {
    const std::atomic_bool cancel{false};
    const double own = cpuSeconds(RUSAGE_SELF), children = cpuSeconds(RUSAGE_CHILDREN);
    int64_t frames = 0;
    QElapsedTimer timer;
    timer.start();
    const auto source = makeCardExportSource(options, Settings{});
    exportCard(
        *source, options, [&](const ExportProgress& p) { frames = p.frames; }, cancel);
    return Timing{double(timer.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - own,
                  cpuSeconds(RUSAGE_CHILDREN) - children, double(frames) / Fps};
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
    o.seed = 1;
    o.line1 = sjis::fromUnicode(QStringLiteral("第一話怪しい影の"));
    o.line2 = sjis::fromUnicode(QStringLiteral("正体を追え"));
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

    if (FfmpegEncoder::findProgram().isEmpty()) {
        std::printf("no ffmpeg: video exports not measured\n");
    } else {
        std::printf("video export at %d fps (real time = 1.0x; target: 3x at 1920x1080)\n", Fps);
        for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)})
            for (const char* suffix : {"mp4", "webm"}) {
                const Timing t = timingOf(optionsFor(dir, size, suffix));
                std::printf("  %4dx%-4d %-4s  %5.2f s of card in %5.2f s  %5.1fx real time   "
                            "processor: %.2f s here, %.2f s ffmpeg\n",
                            size.width(), size.height(), suffix, t.card, t.wall, t.card / t.wall,
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
    std::printf("PNG export at 1920x1080: first %.0f ms, then %.0f ms (target: under 100 ms)\n",
                first * 1e3, best * 1e3);
    return 0;
}
