// The export's command line: what it accepts, the message for each kind of bad usage,
// and the exit status and messages of a run.
#include "app/export/export_command.h"
#include "app/export/export_options.h"
#include "platform/media/ffmpeg_encoder.h"
#include "support/command_lines.h"
#include "support/fake_export_source.h"
#include "support/raised.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::args;
using testing::FakeCard;
using testing::FakeExportSource;
using testing::raised;

ExportOptions parseExportArguments(const QStringList& arguments) {
    return testing::readOrRaise(arguments).exportOptions;
}

bool isExportCommand(const QStringList& arguments) {
    return readCommandLine(arguments).mode.kind == RunKind::Export;
}

TEST(ExportOptionsTest, DefaultsAndEveryOptionInAnyOrder) {
    const ExportOptions plain = parseExportArguments(args({"--export", "a.PNG", "夢の橋"}));
    EXPECT_EQ(plain.file, QStringLiteral("a.PNG"));
    EXPECT_EQ(plain.format, ExportFormat::Png);
    EXPECT_EQ(plain.size, QSize(1920, 1080));
    EXPECT_EQ(plain.fps, 30);
    EXPECT_FALSE(plain.seed.has_value());
    EXPECT_EQ(plain.line1, QByteArray("\x96\xb2\x82\xcc\x8b\xb4")); // Shift-JIS
    EXPECT_TRUE(plain.line2.isEmpty());

    const ExportOptions all =
        parseExportArguments(args({"--export", "b.webm", "Line 1", "--fps=60", "--size", "1281x721",
                                   "--seed", "4294967295", "--", "--two--"}));
    EXPECT_EQ(all.format, ExportFormat::WebM);
    EXPECT_EQ(all.size, QSize(1281, 721)); // odd sides are fine for VP9
    EXPECT_EQ(all.fps, 60);
    EXPECT_EQ(all.seed, 4294967295u);
    EXPECT_EQ(all.line1, QByteArray("Line 1"));
    EXPECT_EQ(all.line2, QByteArray("--two--"));

    const ExportOptions look = parseExportArguments(
        args({"--export", "c.GIF", "--loop", "3", "--transparent", "--color=#FFcc00", "x"}));
    EXPECT_EQ(look.format, ExportFormat::Gif);
    EXPECT_EQ(look.loops, 3);
    EXPECT_TRUE(look.style.transparent);
    EXPECT_EQ(look.style.text, qRgb(255, 204, 0));
    EXPECT_EQ(plain.loops, 0); // forever
    EXPECT_TRUE(plain.style.plain());
    for (const char* target : {"frames/", "frames/f-%04d.png"}) {
        const ExportOptions sequence = parseExportArguments(args({"--export", target, "x"}));
        EXPECT_EQ(sequence.format, ExportFormat::PngSequence) << target;
        EXPECT_EQ(frameFilesOf(sequence.file).folder, QStringLiteral("frames"));
    }
    EXPECT_EQ(frameFilesOf(QStringLiteral("d/")).nameOf(7), QStringLiteral("frame-00007.png"));
    EXPECT_EQ(frameFilesOf(QStringLiteral("d/f%d.PNG")).nameOf(123456),
              QStringLiteral("f123456.PNG"));

    EXPECT_TRUE(isExportCommand(args({"--export=c.mp4", "x"})));
    EXPECT_FALSE(isExportCommand(args({"/S"})));
    EXPECT_FALSE(isExportCommand({}));
}

TEST(ExportOptionsTest, EachBadUsageSaysWhatIsWrong) {
    const QString size = QStringLiteral("--size は 1920x1080 のように 幅x高さ で指定してください");
    const QString sides = QStringLiteral("--size の幅と高さは 16 から 7680 までです");
    const QString formats =
        QStringLiteral("書き出せる形式は .png, .mp4, .webm, .mov, .gif, .webp と、PNG "
                       "連番のフォルダ (名前/) か名前の型 (frame-%05d.png) です");

    const std::vector<std::pair<QStringList, QString>> cases = {
        {args({"--export", "a.avi", "x"}), QStringLiteral("a.avi: ") + formats},
        {args({"--export", "a", "x"}), QStringLiteral("a: ") + formats},
        {args({"--export", "a.mp4", "--transparent", "x"}),
         QStringLiteral("--transparent は .mp4 には使えません (H.264 には透明がありません)。"
                        ".webm, .mov, .gif, .webp, .png か PNG 連番にしてください")},
        {args({"--export", "a.png", "--transparent", "--background", "102030", "x"}),
         QStringLiteral("--transparent と --background は一緒に使えません")},
        {args({"--export", "a.gif", "--transparent=yes", "x"}),
         QStringLiteral("--transparent に値は付けられません")},
        {args({"--export", "a.gif", "--color", "white", "x"}),
         QStringLiteral("--color は白なら FFFFFF のように 16進数6桁で指定してください")},
        {args({"--export", "a.gif", "--background", "no-such.png", "x"}),
         QStringLiteral("--background の no-such.png は色 (RRGGBB) でも読める画像でもありません")},
        {args({"--export", "a.gif", "--loop", "-1", "x"}),
         QStringLiteral("--loop は 0 (いつまでも) から 65535 までの整数です")},
        {args({"--export", "a.mp4", "--size", "0x0", "x"}), sides},
        {args({"--export", "a.mp4", "--size", "-640x480", "x"}), size},
        {args({"--export", "a.mp4", "--size", "640", "x"}), size},
        {args({"--export", "a.mp4", "--size", "99999999999999x2", "x"}), size},
        {args({"--export", "a.png", "--size", "7681x100", "x"}), sides},
        {args({"--export", "a.png", "--size", "7680x7680", "x"}),
         QStringLiteral("--size が大きすぎます (画素数は 7680x4320 まで)")},
        {args({"--export", "a.mp4", "--size", "641x480", "x"}),
         QStringLiteral("H.264 (.mp4) の幅と高さは偶数でなければなりません")},
        {args({"--export", "a.mp4", "--fps", "0", "x"}),
         QStringLiteral("--fps は 1 から 60 までの整数です")},
        {args({"--export", "a.mp4", "--fps", "61", "x"}),
         QStringLiteral("--fps は 1 から 60 までの整数です")},
        {args({"--export", "a.mp4", "--fps", "29.97", "x"}),
         QStringLiteral("--fps は 1 から 60 までの整数です")},
        {args({"--export", "a.mp4", "--seed", "-1", "x"}),
         QStringLiteral("--seed は 0 から 4294967295 までの整数です")},
        {args({"--export", "a.mp4", "--seed", "4294967296", "x"}),
         QStringLiteral("--seed は 0 から 4294967295 までの整数です")},
        {args({"--export", "a.mp4", "--speed", "2", "x"}),
         QStringLiteral("--speed というオプションはありません")},
        {args({"--export", "a.mp4", "x", "--fps"}), QStringLiteral("--fps の値がありません")},
        {args({"--export", "a.mp4", "--fps", "30", "--fps", "60", "x"}),
         QStringLiteral("--fps が二度指定されています")},
        {args({"--export"}), QStringLiteral("--export の値がありません")},
        {args({"--export", "", "x"}), QStringLiteral("書き出すファイルが指定されていません")},
        {args({"--export", "a.mp4"}), QStringLiteral("1行目が指定されていません")},
        {args({"--export", "a.mp4", "x", "y", "z"}), QStringLiteral("余分な引数があります: z")},
        {args({"--export", "a.mp4", "x", "😀"}),
         QStringLiteral("2行目に Shift-JIS で表せない文字があります")},
        {args({"--export", "a.mp4", "x\ny"}), QStringLiteral("1行目に改行や制御文字があります")},
    };
    for (const auto& [arguments, message] : cases)
        EXPECT_EQ(raised<ExportUsageError>([&] { parseExportArguments(arguments); }), message)
            << arguments.join(u' ').toStdString();
}

// What a run of the command wrote to standard error.
class ExportCommandTest : public ::testing::Test {
protected:
    int run(const QStringList& arguments, ExportSourceFactory factory = fake()) {
        FILE* err = tmpfile();
        const CommandLine line = readCommandLine(arguments);
        const std::optional<int> answered = answerCommandLine(line, stdout, err);
        const int status =
            answered ? *answered : runExportCommand(line.exportOptions, factory, err);
        messages = testing::closedText(err);
        return status;
    }
    static ExportSourceFactory fake() {
        return [](const ExportOptions& o) {
            FakeCard card;
            card.size = o.size;
            card.fps = o.fps;
            card.frames = 40;
            return std::make_unique<FakeExportSource>(card);
        };
    }
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString messages;
};

TEST_F(ExportCommandTest, ARunReportsProgressInLinesAndEndsWithZero) {
    if (FfmpegEncoder::findProgram().isEmpty())
        GTEST_SKIP() << "no ffmpeg";
    EXPECT_EQ(run({QStringLiteral("--export"), file("a.mp4"), QStringLiteral("--size"),
                   QStringLiteral("160x120"), QStringLiteral("x")}),
              ExportSucceeded);
    EXPECT_TRUE(QFile::exists(file("a.mp4")));
    QString expected;
    for (int p = 0; p <= 90; p += 10)
        expected += QStringLiteral("書き出し中 %1%\n").arg(p);
    expected += QStringLiteral("書き出し中 100%\n書き出しました: ") + file("a.mp4") + u'\n';
    EXPECT_EQ(messages, expected);
}

TEST_F(ExportCommandTest, FailuresAndBadUsageHaveTheirOwnStatus) {
    EXPECT_EQ(run({QStringLiteral("--export"), file("a.png")}), ExportBadUsage);
    EXPECT_EQ(messages, QStringLiteral("quillon: 1行目が指定されていません\n") +
                            usage(RunKind::Export) + u'\n');

    const ExportSourceFactory broken = [](const ExportOptions&) -> std::unique_ptr<ExportSource> {
        throw Exception(QStringLiteral("描けません"));
    };
    EXPECT_EQ(run({QStringLiteral("--export"), file("a.png"), QStringLiteral("x")}, broken),
              ExportFailed);
    EXPECT_EQ(messages, QStringLiteral("quillon: 描けません\n"));

    EXPECT_EQ(run({QStringLiteral("--export"), file("no/a.png"), QStringLiteral("x")}),
              ExportFailed);
    EXPECT_TRUE(messages.startsWith(QStringLiteral("quillon: ") + file("no/a.png") +
                                    QStringLiteral(" に書き込めません")));
    EXPECT_FALSE(QFile::exists(file("a.png")));
}

} // namespace
} // namespace quillon
