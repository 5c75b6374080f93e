#include "app/export/list_export.h"

#include "app/export/captions.h"
#include "platform/text/sjis.h"
#include "subtitles/catalogue.h"
#include "subtitles/subtitle_choice.h"
#include "subtitles/user_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <string_view>

namespace quillon {

namespace {

bool unsafeInName(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) ||
           std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
}

// Blank or spaces only, half-width or ideographic: nothing to show.
bool isBlank(const QByteArray& text) {
    return sjis::toUnicode(text).trimmed().isEmpty();
}

} // namespace

QString safeNameText(const QString& text, int maxBytes) {
    QString out;
    int bytes = 0;
    for (char32_t c : text.toUcs4()) {
        if (unsafeInName(c))
            c = U'_';
        if (out.isEmpty() && (c == U'.' || QChar::isSpace(c)))
            continue;
        const QString piece = QString::fromUcs4(&c, 1);
        const int size = int(piece.toUtf8().size());
        if (bytes + size > maxBytes)
            break;
        out += piece;
        bytes += size;
    }
    while (!out.isEmpty() && (out.back() == QLatin1Char('.') || out.back().isSpace()))
        out.chop(1);
    return out;
}

ListPlan planList(const QList<QByteArray>& items, const QString& extension) {
    ListPlan plan;
    const int width = std::max(3, int(QString::number(items.size()).size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const int line = int(i + 1);
        const QByteArray text = itemTextPart(items.at(i)).toByteArray();
        if (isBlank(text)) {
            plan.blankLines.push_back(line);
            continue;
        }
        ListCard card;
        card.line = line;
        const SubtitleLines lines = itemToLines(text);
        card.line1 = lines.line1;
        card.line2 = lines.line2;
        if (text.size() >= ItemBufferSize)
            card.problem = formatMessage(
                QCoreApplication::translate("Export", "%d行目が長すぎます (%d バイトまで)"),
                {QString::number(line), QString::number(ItemBufferSize - 1)});
        const QString number = QStringLiteral("%1").arg(line, width, 10, QLatin1Char('0'));
        const QString name = safeNameText(sjis::toUnicode(card.line1));
        card.name = (name.isEmpty() ? number : number + QLatin1Char('-') + name) +
                    QLatin1Char('.') + extension;
        plan.cards.push_back(card);
    }
    return plan;
}

ListItems listItems(const ExportList& list) {
    if (list.catalogue)
        return {catalogueRange(3), true};
    const UserFileContents contents = readSubtitleFile(list.listFile);
    return {contents.items.toList(), contents.complete};
}

ListResult exportList(const ExportOptions& options, const ExportSourceFactory& makeSource,
                      ListReport& report, const std::atomic_bool& cancel) {
    const ExportList& list = *options.list;
    const ListItems read = listItems(list);
    const ListPlan plan = planList(read.items, list.extension);
    if (plan.cards.empty())
        throw Exception(
            formatMessage(QCoreApplication::translate("Export", "一覧 %s に題名がありません"),
                          {list.catalogue ? QStringLiteral("--catalogue") : list.listFile}));
    const QDir folder(options.file);
    if (!QDir().mkpath(folder.path()))
        throw Exception(formatMessage(
            QCoreApplication::translate("Export", "フォルダ %s を作れません"), {options.file}));

    std::vector<int> blanks = plan.blankLines;
    auto blank = blanks.begin();
    ListResult result;
    if (!read.complete) {
        result.cutAfter = int(read.items.size());
        report.cutShort(list.listFile, result.cutAfter);
    }
    const int64_t total = int64_t(plan.cards.size()) * 1000;
    for (size_t index = 0; index < plan.cards.size(); ++index) {
        const ListCard& card = plan.cards[index];
        // Each blank line is said in its place among the cards.
        for (; blank != blanks.end() && *blank < card.line; ++blank)
            report.skipped(*blank);
        if (cancel.load()) {
            result.interrupted = true;
            return result;
        }
        const int64_t before = int64_t(index) * 1000;
        report.progress(before, total);
        if (!card.problem.isEmpty()) {
            report.failed(card, card.problem);
            ++result.failed;
            continue;
        }
        ExportOptions one = options;
        one.list.reset();
        one.file = folder.filePath(card.name);
        one.line1 = card.line1;
        one.line2 = card.line2;
        // Card by card the same seed rule: the list's seed moves on by the line.
        if (options.seed)
            one.seed = *options.seed + uint32_t(card.line - 1);
        one.captions = options.captions.isEmpty()
                           ? QString()
                           : folder.filePath(QFileInfo(card.name).completeBaseName() +
                                             QLatin1Char('.') + options.captions);
        try {
            if (!one.captions.isEmpty())
                checkCaptionsTarget(one.captions);
            const std::unique_ptr<ExportSource> source = makeSource(one);
            exportCard(
                *source, one,
                [&](const ExportProgress& p) {
                    if (p.expectedFrames > 0)
                        report.progress(
                            before + std::min<int64_t>(999, p.frames * 1000 / p.expectedFrames),
                            total);
                },
                cancel);
            if (!one.captions.isEmpty())
                writeCaptions(one.captions, source->shownTexts());
            ++result.written;
        } catch (const EExportCancelled&) {
            result.interrupted = true;
            return result;
        } catch (const std::exception& error) {
            if (cancel.load()) {
                result.interrupted = true;
                return result;
            }
            const auto* own = dynamic_cast<const Exception*>(&error);
            report.failed(card, own ? own->message() : QString::fromLocal8Bit(error.what()));
            ++result.failed;
        }
    }
    for (; blank != blanks.end(); ++blank)
        report.skipped(*blank);
    report.progress(total, total);
    return result;
}

} // namespace quillon
