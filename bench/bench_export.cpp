// Export speed for a card of thirteen characters (about eleven seconds with its hold),
// the card played by the card engine with the initial settings, seed 1:
// - 1920 × 1080 at 30 frames a second as MP4 and WebM, as a multiple of real time;
// - the same card made with the ffmpeg program alone (bench/drawtext_recipe.py: drawtext
//   filters at the card's moments, the sounds mixed in), run in turn with the MP4
//   (A B A B), since the machine may be busy with other work;
// - the same comparison as a user times it: the whole `quillon --export card.mp4` process,
//   start to exit, against the recipe's whole run, several rounds in turn;
// - a 640 × 480 GIF, and a PNG.
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
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using namespace quillon;
namespace {

constexpr int Fps = 30;
const QString Line1 = QStringLiteral("第一話怪しい影の");
const QString Line2 = QStringLiteral("正体を追え");

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall, own, ffmpeg; // seconds; processor time of this program and of ffmpeg
    double card;              // seconds of card written
    qint64 bytes;
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
                  cpuSeconds(RUSAGE_CHILDREN) - children, double(frames) / Fps,
                  QFile(options.file).size()};
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
    o.line1 = sjis::fromUnicode(Line1);
    o.line2 = sjis::fromUnicode(Line2);
    return o;
}

// The card's moments for the recipe: its size, rate and length, then each cue with the
// character it types (the two lines for the closing cue).
QString writeMoments(const QDir& dir, const ExportOptions& options) {
    const auto source = makeCardExportSource(options, Settings{});
    std::vector<CueStart> cues;
    int64_t frames = 0;
    while (!source->atEnd()) {
        source->nextFrame();
        ++frames;
        for (const CueStart& cue : source->takeCues())
            cues.push_back(cue);
    }
    const QString path = dir.filePath(QStringLiteral("moments.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return {};
    QTextStream out(&file);
    out << options.size.width() << ' ' << options.size.height() << ' ' << Fps << ' '
        << frames * 1000 / Fps << '\n';
    const QString typed = Line1 + Line2;
    int next = 0;
    for (const CueStart& cue : cues) {
        const QString text = cue.name == QLatin1String("Type") && next < typed.size()
                                 ? QString(typed.at(next++))
                                 : Line1 + QLatin1Char('/') + Line2;
        out << cue.sample * 1000 / ExportSampleRate << ' ' << cue.name << ' ' << text << '\n';
    }
    return path;
}

// The recipe's run; a negative time when it failed.
double recipeSeconds(const QString& moments, const QString& out) {
    QElapsedTimer timer;
    timer.start();
    const int status =
        QProcess::execute(QStringLiteral("python3"),
                          {QStringLiteral(QUILLON_BENCH_DIR "/drawtext_recipe.py"), moments,
                           QStringLiteral(QUILLON_SOURCE_DIR "/resources/sounds"), out});
    return status == 0 ? double(timer.nsecsElapsed()) / 1e9 : -1;
}

void printVideo(const char* label, const Timing& t) {
    std::printf("  %-22s %5.2f s of card in %5.2f s  %5.1fx real time  processor: %.2f s "
                "here, %.2f s ffmpeg  %7.1f KB\n",
                label, t.card, t.wall, t.card / t.wall, t.own, t.ffmpeg, double(t.bytes) / 1024);
    std::fflush(stdout);
}

double processSeconds(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The program as a user runs it, against the recipe as a user runs it, in turn.
void compareWholeProcesses(const QDir& dir, int rounds) {
    const ExportOptions mp4 = optionsFor(dir, QSize(1920, 1080), "mp4");
    const QString moments = writeMoments(dir, mp4);
    const auto source = makeCardExportSource(mp4, Settings{});
    int64_t frames = 0;
    for (; !source->atEnd(); ++frames)
        source->nextFrame();
    const double length = double(frames) / Fps;
    std::printf("Whole processes, 1920x1080 MP4, %.2f s of video, %d rounds in turn "
                "(target: the export 4x faster than the recipe)\n",
                length, rounds);
    std::vector<double> own, recipe, ratio;
    for (int round = 0; round < rounds; ++round) {
        const double cpu0 = cpuSeconds(RUSAGE_CHILDREN);
        const double a =
            processSeconds(QStringLiteral(QUILLON_PROGRAM),
                           {QStringLiteral("--export"), dir.filePath(QStringLiteral("whole.mp4")),
                            QStringLiteral("--size"), QStringLiteral("1920x1080"),
                            QStringLiteral("--seed"), QStringLiteral("1"), Line1, Line2});
        const double cpu1 = cpuSeconds(RUSAGE_CHILDREN);
        const double b = recipeSeconds(moments, dir.filePath(QStringLiteral("recipe.mp4")));
        const double cpu2 = cpuSeconds(RUSAGE_CHILDREN);
        if (a < 0 || b < 0) {
            std::printf("  %s failed\n", a < 0 ? "quillon --export" : "the recipe");
            return;
        }
        own.push_back(a);
        recipe.push_back(b);
        ratio.push_back(b / a);
        // Processor time too (with ffmpeg's), which a busy machine disturbs less.
        std::printf(
            "  round %d: quillon --export %.3f s (%.3f s per s of video, processor %.2f s), "
            "recipe %.3f s (%.3f s per s, processor %.2f s), ratio %.2fx\n",
            round + 1, a, a / length, cpu1 - cpu0, b, b / length, cpu2 - cpu1, b / a);
        std::fflush(stdout);
    }
    const auto [low, high] = std::minmax_element(ratio.begin(), ratio.end());
    std::printf("  median: quillon --export %.3f s, recipe %.3f s; ratio median %.2fx, "
                "from %.2fx to %.2fx\n",
                median(own), median(recipe), median(ratio), *low, *high);
}

void compareWithRecipe(const QDir& dir) {
    const ExportOptions mp4 = optionsFor(dir, QSize(1920, 1080), "mp4");
    const QString moments = writeMoments(dir, mp4);
    std::printf("1920x1080 MP4 against the drawtext recipe, A B A B (target: 25x real "
                "time, 4x faster than the recipe)\n");
    for (int round = 0; round < 2; ++round) {
        const Timing a = timingOf(mp4);
        printVideo("quillon --export .mp4", a);
        const double b = recipeSeconds(moments, dir.filePath(QStringLiteral("recipe.mp4")));
        if (b < 0) {
            std::printf("  the recipe failed\n");
            return;
        }
        std::printf("  %-22s %5.2f s of card in %5.2f s  %5.1fx real time\n", "drawtext recipe",
                    a.card, b, a.card / b);
        std::printf("  ratio: the export is %.1fx faster than the recipe\n", b / a.wall);
        std::fflush(stdout);
    }
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
        compareWithRecipe(dir);
        compareWholeProcesses(dir, 7);
        std::printf("1920x1080 WebM (target: 15x real time)\n");
        for (int round = 0; round < 2; ++round)
            printVideo("quillon --export .webm", timingOf(optionsFor(dir, {1920, 1080}, "webm")));
        std::printf("640x480 GIF (target: under 1 s, well under 1 MB)\n");
        for (int round = 0; round < 2; ++round)
            printVideo("quillon --export .gif", timingOf(optionsFor(dir, {640, 480}, "gif")));
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
