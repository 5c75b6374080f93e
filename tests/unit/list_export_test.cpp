// A whole list at once: the cards' file names, the options, and a run that skips blank
// lines, reports the card that cannot be written and writes the others.
#include "app/export/export_command.h"
#include "app/export/export_options.h"
#include "app/export/list_export.h"
#include "subtitles/user_file.h"
#include "support/command_lines.h"
#include "support/fake_export_source.h"
#include "support/raised.h"
#include "support/virtual_card.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

TEST(ListExport, NamesAreSafeDistinctAndInTheListsOrder) {
    const QString longLine = QString(100, QChar(0x6642)); // 時, 3 bytes of UTF-8 each
    const QList<QByteArray> items = {
        sj(QStringLiteral("時計塔の惑星 第一話")),
        sj(QStringLiteral("a/b\\c:d*e?f\"g<h>i|j")) + QByteArray("\x01k\x7f"),
        QByteArray(),
        sj(QStringLiteral("..隠れ. . 終わり")),
        QByteArray("   "),
        sj(QStringLiteral("時計塔の惑星 第二話")), // the same line 1 again
        sj(QStringLiteral("　")),                  // an ideographic space alone
        sj(longLine),
        QByteArray(".."),
        QByteArray(4096, 'x')};
    const ListPlan plan = planList(items, QStringLiteral("webm"));
    EXPECT_EQ(plan.blankLines, (std::vector<int>{3, 5, 7}));
    QStringList names;
    for (const ListCard& card : plan.cards)
        names << card.name;
    const QString cut = QString(MaxNameTextBytes / 3, QChar(0x6642));
    EXPECT_EQ(
        names,
        (QStringList{
            QStringLiteral("001-時計塔の惑星.webm"),
            QStringLiteral("002-a_b_c_d_e_f_g_h_i_j_k_.webm"), QStringLiteral("004-隠れ.webm"),
            QStringLiteral("006-時計塔の惑星.webm"),
            QStringLiteral("008-") + cut + QStringLiteral(".webm"), QStringLiteral("009.webm"),
            QStringLiteral("010-") + QString(MaxNameTextBytes, 'x') + QStringLiteral(".webm")}));
    // Lines as a card takes them; an item too long for the lines is a failure, not a blank.
    EXPECT_EQ(plan.cards[0].line2, sj(QStringLiteral("第一話")));
    EXPECT_EQ(plan.cards[2].line1, sj(QStringLiteral("..隠れ.")));
    EXPECT_TRUE(plan.cards[0].problem.isEmpty());
    EXPECT_EQ(plan.cards.back().problem, QStringLiteral("10行目が長すぎます (4095 バイトまで)"));

    // A cut never splits a character: 5 bytes hold one 時 (3), not two.
    EXPECT_EQ(safeNameText(QStringLiteral("時時"), 5), QStringLiteral("時"));
    EXPECT_EQ(safeNameText(QStringLiteral("ab 時"), 4), QStringLiteral("ab"));
    // A thousand lines need four digits.
    EXPECT_EQ(planList(QList<QByteArray>(1000, "A"), QStringLiteral("png")).cards[0].name,
              QStringLiteral("0001-A.png"));
}

TEST(ListExport, OptionsOfAListAndOfCaptions) {
    const auto parse = [](const std::vector<const char*>& list) {
        QStringList args;
        for (const char* a : list)
            args << QString::fromUtf8(a);
        return testing::readOrRaise(args).exportOptions;
    };
    const ExportOptions list =
        parse({"--export", "out/", "--file=a.qln", "--format", ".WebM", "--seed", "7"});
    ASSERT_TRUE(list.list.has_value());
    EXPECT_EQ(list.file, QStringLiteral("out/"));
    EXPECT_EQ(list.list->listFile, QStringLiteral("a.qln"));
    EXPECT_EQ(list.list->extension, QStringLiteral("webm"));
    EXPECT_EQ(list.format, ExportFormat::WebM);
    const ExportOptions catalogue = parse({"--export", "out", "--catalogue", "--captions", "SRT"});
    EXPECT_TRUE(catalogue.list->catalogue);
    EXPECT_EQ(catalogue.list->extension, QStringLiteral("mp4"));
    EXPECT_EQ(catalogue.captions, QStringLiteral("srt"));
    EXPECT_EQ(parse({"--export", "a.webm", "--captions", "a.vtt", "x"}).captions,
              QStringLiteral("a.vtt"));

    const std::vector<std::pair<std::vector<const char*>, QString>> bad = {
        {{"--export", "a.png", "--captions", "a.vtt", "x"},
         QStringLiteral("静止画 (.png) に字幕は付けられません: --captions は動画に使います")},
        {{"--export", "a.mp4", "--captions", "a.txt", "x"},
         QStringLiteral("a.txt: 字幕の形式は .vtt (WebVTT) か .srt (SubRip) です")},
        {{"--export", "a.mp4", "--captions", "a.mp4", "x"},
         QStringLiteral("a.mp4: 字幕の形式は .vtt (WebVTT) か .srt (SubRip) です")},
        {{"--export", "d", "--file", "a.qln", "--catalogue"},
         QStringLiteral("--file と --catalogue は一緒に使えません")},
        {{"--export", "d", "--format", "webm", "x"},
         QStringLiteral("--format は --file か --catalogue と一緒に使います")},
        {{"--export", "d", "--catalogue", "x"},
         QStringLiteral("一覧を書き出すときは1行目と2行目を指定しません: x")},
        {{"--export", "d", "--catalogue", "--format", "txt"},
         QStringLiteral("--format txt: 書き出せる形式は .png, .mp4, .webm, .mov, .gif, .webp と、"
                        "PNG 連番のフォルダ (名前/) か名前の型 (frame-%05d.png) です")},
        {{"--export", "d", "--catalogue=1"}, QStringLiteral("--catalogue に値は付けられません")},
        {{"--export", "d", "--catalogue", "--catalogue"},
         QStringLiteral("--catalogue が二度指定されています")},
        {{"--export", "d", "--catalogue", "--format", "png", "--captions", "vtt"},
         QStringLiteral("静止画 (.png) に字幕は付けられません: --captions は動画に使います")},
    };
    for (const auto& [arguments, message] : bad)
        EXPECT_EQ(raised<ExportUsageError>([&] { parse(arguments); }), message);
}

// Exports the list as 64 × 48 PNG cards with seed 10; what was said goes to messages.
int runList(const QString& out, const QString& listFile, const ExportSourceFactory& factory,
            QString& messages) {
    FILE* err = tmpfile();
    const int status = runExportCommand(
        testing::readOrRaise({QStringLiteral("--export"), out, QStringLiteral("--file"), listFile,
                              QStringLiteral("--format=png"), QStringLiteral("--size=64x48"),
                              QStringLiteral("--seed=10")})
            .exportOptions,
        factory, err);
    rewind(err);
    QByteArray said(8192, '\0');
    said.resize(qsizetype(fread(said.data(), 1, size_t(said.size()), err)));
    fclose(err);
    messages = QString::fromLocal8Bit(said);
    return status;
}

ExportSourceFactory fakeCards(std::vector<ExportOptions>& made) {
    return [&made](const ExportOptions& o) {
        made.push_back(o);
        FakeCard card;
        card.size = o.size;
        return std::make_unique<FakeExportSource>(card);
    };
}

TEST(ListExport, BlankLinesAreSkippedAFailedCardIsReportedAndTheOthersWritten) {
    QTemporaryDir dir;
    const QString listFile = dir.filePath(QStringLiteral("list.qln"));
    writeSubtitleFile(listFile, {sj(QStringLiteral("一 二")), QByteArray(),
                                 sj(QStringLiteral("三")), QByteArray("B"), QByteArray("C D")});
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out + QStringLiteral("/004-B.png")); // a folder where card 4 would go

    std::vector<ExportOptions> made;
    const ExportSourceFactory factory = fakeCards(made);
    QString messages;
    const int status = runList(out, listFile, factory, messages);

    EXPECT_EQ(status, ExportFailed) << messages.toStdString();
    EXPECT_TRUE(messages.contains(QStringLiteral("2行目は空なので飛ばします\n")));
    EXPECT_TRUE(messages.contains(QStringLiteral("quillon: ") + out +
                                  QStringLiteral("/004-B.png に書き込めません")));
    EXPECT_TRUE(messages.endsWith(QStringLiteral("3 枚を書き出し、1 枚を書き出せませんでした: ") +
                                  out + u'\n'));
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("001-一.png"), QStringLiteral("003-三.png"),
                           QStringLiteral("005-C.png")}));
    // Card by card: its lines, and the list's seed moved on by its line.
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[0].line2, sj(QStringLiteral("二")));
    EXPECT_EQ(made[3].line1, QByteArray("C"));
    EXPECT_EQ(made[3].line2, QByteArray("D"));
    EXPECT_EQ((std::vector<uint32_t>{*made[0].seed, *made[1].seed, *made[3].seed}),
              (std::vector<uint32_t>{10, 12, 14}));
    EXPECT_FALSE(made[0].list.has_value());
}

// A list file the program reads only in part (here a line too long to read) is exported
// as far as it is read, says so, and does not end as if all were written.
TEST(ListExport, AListCutShortSaysWhereAndEndsWithAFailure) {
    QTemporaryDir dir;
    const QString listFile = dir.filePath(QStringLiteral("long.qln"));
    QFile file(listFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("A\r\n" + QByteArray(UserLineByteBound + 1, 'x') + "\r\nB\r\n");
    file.close();
    const QString out = dir.filePath(QStringLiteral("out"));
    std::vector<ExportOptions> made;
    QString messages;
    EXPECT_EQ(runList(out, listFile, fakeCards(made), messages), ExportFailed);
    EXPECT_TRUE(messages.contains(QStringLiteral("一覧 ") + listFile +
                                  QStringLiteral(" は 1 行目までしか読めません")))
        << messages.toStdString();
    EXPECT_TRUE(messages.endsWith(
        QStringLiteral("1 枚を書き出しました。一覧の 1 行目より先は書き出していません: ") + out +
        u'\n'));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{QStringLiteral("001-A.png")});
}

} // namespace
} // namespace quillon::testing
