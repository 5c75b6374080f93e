// Captions of an exported card: the real card's timeline gives a cue per typed character
// from the moment its page is up until the next replaces it, then the card through its
// hold; the files are what players read.
#include "app/export/captions.h"
#include "app/export/card_source.h"
#include "app/export/export_options.h"
#include "platform/core/random.h"
#include "platform/text/sjis.h"
#include "settings/settings_store.h"
#include "support/raised.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

struct Cue {
    QString line1, line2;
    int64_t from, until;
    bool operator==(const Cue&) const = default;
};

void PrintTo(const Cue& c, std::ostream* os) {
    *os << c.line1.toStdString() << "/" << c.line2.toStdString() << " " << c.from << "-" << c.until;
}

// The card played to its end, as a video export plays it (50 frames a second).
std::vector<Cue> playedCues(const QString& line1, const QString& line2, const Settings& settings) {
    ExportOptions o;
    o.format = ExportFormat::Mp4;
    o.size = QSize(160, 120);
    o.fps = 50;
    o.seed = 4242;
    o.line1 = sjis::fromUnicode(line1);
    o.line2 = sjis::fromUnicode(line2);
    auto source = makeCardExportSource(o, settings);
    while (!source->atEnd()) {
        source->nextFrame();
        source->takeCues();
    }
    std::vector<Cue> cues;
    for (const ShownText& t : source->shownTexts())
        cues.push_back({sjis::toUnicode(t.line1), sjis::toUnicode(t.line2), t.fromMs, t.untilMs});
    return cues;
}

TEST(Captions, EachCharacterAtItsOwnMomentThenTheCardThroughItsHold) {
    Settings settings; // StartWait 1500, Wait 120
    Random r;
    r.setSeed(4242);
    const int second = (r.draw(10) <= 7 ? 100 : 0) + 120; // the one random pause
    const int t3 = 1720 + second, t4 = t3 + 410, t5 = t4 + 120, card = t5 + 410;
    const std::vector<Cue> normal = {{"一", "", 1500, 1720}, {"二", "", 1720, t3},
                                     {"三", "", t3, t4},     {"四", "", t4, t5},
                                     {"五", "", t5, card},   {"一二三", "四五", card, card + 7000}};
    EXPECT_EQ(playedCues("一二三", "四五", settings), normal);

    // A beast card of one line: 700 + Wait after every character, the card one line.
    const std::vector<Cue> beast = {
        {"獣", "", 1500, 2320}, {"王", "", 2320, 3140}, {"獣王", "", 3140, 10140}};
    EXPECT_EQ(playedCues("獣王", "", settings), beast);

    // No pause at all after B (line 2's first character, Wait 0): C is held until a
    // frame has shown B, and its cue begins with the frame that first shows it; the
    // pause after C counts from the moment C is up, so the card comes 290 ms after that.
    settings.wait = 0;
    const std::vector<Cue> held = {{"A", "", 1500, 1790},
                                   {"B", "", 1790, 1820},
                                   {"C", "", 1820, 2090},
                                   {"A", "BC", 2090, 9090}};
    EXPECT_EQ(playedCues("A", "BC", settings), held);
}

TEST(Captions, FilesPlayersReadAsTheyStand) {
    const std::vector<ShownText> texts = {
        {sjis::fromUnicode(QStringLiteral("<b>&")), {}, 1500, 1720},
        {QByteArray(" "), {}, 1720, 1940}, // a blank page: no cue
        {QByteArray("x"), {}, 1940, 1940}, // over before it began: none
        {QByteArray("a\tb-->c\r\n"), QByteArray("\x81\x40"), 1940, 2000}, // 2nd line blank
        {sjis::fromUnicode(QStringLiteral("時計塔の")), sjis::fromUnicode(QStringLiteral("惑星")),
         3599999, 3600000 + 61001}};
    EXPECT_EQ(QString::fromUtf8(captionFile(texts, CaptionFormat::WebVtt)),
              QStringLiteral("WEBVTT\n\n"
                             "00:00:01.500 --> 00:00:01.720\n&lt;b&gt;&amp;\n\n"
                             "00:00:01.940 --> 00:00:02.000\na b--&gt;c\n\n"
                             "00:59:59.999 --> 01:01:01.001\n時計塔の\n惑星\n\n"));
    EXPECT_EQ(QString::fromUtf8(captionFile(texts, CaptionFormat::SubRip)),
              QStringLiteral("1\r\n00:00:01,500 --> 00:00:01,720\r\n＜b＞&\r\n\r\n"
                             "2\r\n00:00:01,940 --> 00:00:02,000\r\na b--＞c\r\n\r\n"
                             "3\r\n00:59:59,999 --> 01:01:01,001\r\n時計塔の\r\n惑星\r\n\r\n"));

    EXPECT_EQ(captionFormatOf(QStringLiteral("a/Card.VTT")), CaptionFormat::WebVtt);
    EXPECT_EQ(captionFormatOf(QStringLiteral("card.srt")), CaptionFormat::SubRip);
    EXPECT_EQ(raised<ExportUsageError>([] { captionFormatOf(QStringLiteral("card.txt")); }),
              QStringLiteral("card.txt: 字幕の形式は .vtt (WebVTT) か .srt (SubRip) です"));
    EXPECT_EQ(raised([&] { writeCaptions(QStringLiteral("/nonexistent/c.vtt"), texts); }),
              QStringLiteral("/nonexistent/c.vtt に書き込めません"));
}

} // namespace
} // namespace quillon::testing
