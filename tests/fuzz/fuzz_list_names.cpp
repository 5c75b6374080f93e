// A list file as a whole list's export takes it: whatever its bytes, each card's name is
// one safe, distinct file name, and captions of its lines are files a player reads.
#include "app/export/captions.h"
#include "app/export/list_export.h"
#include "subtitles/user_file.h"

#include <QSet>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

namespace {
bool saneName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.toUtf8().size() > 230)
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> items = parseSubtitleLines(bytes);
    const ListPlan plan = planList(items, QStringLiteral("webm"));
    if (qsizetype(plan.cards.size() + plan.blankLines.size()) != items.size())
        abort();
    QSet<QString> names;
    std::vector<ShownText> texts;
    int64_t ms = 0;
    for (const ListCard& card : plan.cards) {
        if (!saneName(card.name) || names.contains(card.name))
            abort();
        names.insert(card.name);
        texts.push_back({card.line1, card.line2, ms, ms + 100});
        ms += 100;
    }
    // Every cue is a timing line and text lines, none of them blank, then one blank line.
    for (const CaptionFormat format : {CaptionFormat::WebVtt, CaptionFormat::SubRip}) {
        const QString file = QString::fromUtf8(captionFile(texts, format));
        // Valid UTF-8 (a byte that is no Shift-JIS comes out as the replacement character).
        if (file.toUtf8() != captionFile(texts, format))
            abort();
        const QStringList cues = file.split(
            format == CaptionFormat::WebVtt ? QStringLiteral("\n\n") : QStringLiteral("\r\n\r\n"));
        for (qsizetype i = format == CaptionFormat::WebVtt ? 1 : 0; i + 1 < cues.size(); ++i)
            if (cues[i].count(QStringLiteral("-->")) != 1 ||
                cues[i].contains(QLatin1Char('\r')) != (format == CaptionFormat::SubRip))
                abort();
    }
    return 0;
}
