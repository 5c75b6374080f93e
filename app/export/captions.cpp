#include "app/export/captions.h"

#include "app/export/export_options.h"
#include "platform/core/atomic_file.h"
#include "platform/text/sjis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace quillon {

namespace {

// A line as a caption shows it: no control characters (a player would take a line
// break for the end of the cue), nothing but blanks at either end.
QString captionLine(const QByteArray& line, CaptionFormat format) {
    QString text = sjis::toUnicode(line);
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    text = text.trimmed();
    if (format == CaptionFormat::WebVtt) {
        // Markup and the timing arrow are read inside a cue's text.
        text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
            .replace(QLatin1Char('<'), QLatin1String("&lt;"))
            .replace(QLatin1Char('>'), QLatin1String("&gt;"));
    } else {
        // SubRip has no escapes: players read tags in angle brackets, and an arrow could
        // pass for a timing line. The full-width forms read the same.
        text.replace(QLatin1Char('<'), QChar(0xFF1C)).replace(QLatin1Char('>'), QChar(0xFF1E));
    }
    return text;
}

QString timestamp(int64_t ms, CaptionFormat format) {
    ms = std::max<int64_t>(0, ms);
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(ms / 3600000, 2, 10, zero)
        .arg(ms / 60000 % 60, 2, 10, zero)
        .arg(ms / 1000 % 60, 2, 10, zero)
        .arg(format == CaptionFormat::WebVtt ? QLatin1Char('.') : QLatin1Char(','))
        .arg(ms % 1000, 3, 10, zero);
}

[[noreturn]] void cannotWriteCaptions(const QString& file) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Export", "%s に書き込めません"), {file}));
}

} // namespace

CaptionFormat captionFormatOf(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("vtt"))
        return CaptionFormat::WebVtt;
    if (suffix == QLatin1String("srt"))
        return CaptionFormat::SubRip;
    throw ExportUsageError(
        formatMessage(QCoreApplication::translate(
                          "Export", "%s: 字幕の形式は .vtt (WebVTT) か .srt (SubRip) です"),
                      {file}));
}

QByteArray captionFile(const std::vector<ShownText>& texts, CaptionFormat format) {
    const bool vtt = format == CaptionFormat::WebVtt;
    // One kind of line end throughout: LF for WebVTT, CR LF as SubRip files have it.
    const QString end = vtt ? QStringLiteral("\n") : QStringLiteral("\r\n");
    QString out = vtt ? QStringLiteral("WEBVTT") + end + end : QString();
    int number = 0;
    for (const ShownText& text : texts) {
        QStringList lines;
        for (const QByteArray* line : {&text.line1, &text.line2}) {
            const QString shown = captionLine(*line, format);
            if (!shown.isEmpty())
                lines << shown;
        }
        if (lines.isEmpty() || text.untilMs <= text.fromMs)
            continue;
        if (!vtt)
            out += QString::number(++number) + end;
        out += timestamp(text.fromMs, format) + QStringLiteral(" --> ") +
               timestamp(text.untilMs, format) + end + lines.join(end) + end + end;
    }
    return out.toUtf8();
}

void checkCaptionsTarget(const QString& file) {
    const QFileInfo info(file);
    if (info.isDir() || !info.absoluteDir().exists())
        cannotWriteCaptions(file);
}

void writeCaptions(const QString& file, const std::vector<ShownText>& texts) {
    if (saveFileAtomically(file, captionFile(texts, captionFormatOf(file))) != SaveResult::Saved)
        throw Exception(
            formatMessage(QCoreApplication::translate("Export", "%s に書き込めません"), {file}));
}

} // namespace quillon
