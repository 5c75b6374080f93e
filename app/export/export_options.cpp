#include "app/export/export_options.h"

#include "app/export/captions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace quillon {

namespace {

[[noreturn]] void usageError(const QString& pattern, std::initializer_list<QString> args = {}) {
    throw ExportUsageError(formatMessage(pattern, args));
}

// The extension of every card of a list, and its format.
void checkListFormat(ExportOptions& options) {
    QString& extension = options.list->extension;
    if (extension.startsWith(QLatin1Char('.')))
        extension.remove(0, 1);
    extension = extension.isEmpty() ? QStringLiteral("mp4") : extension.toLower();
    const QString probe = QStringLiteral("card.") + extension;
    try {
        options.format = exportFormatOf(probe);
    } catch (const ExportUsageError& error) {
        QString message = error.message();
        throw ExportUsageError(message.replace(probe, QStringLiteral("--format ") + extension));
    }
}

// A still has no moments for cues to begin and end.
[[noreturn]] void refuseCaptionsOnStill() {
    usageError(QCoreApplication::translate(
        "Export", "静止画 (.png) に字幕は付けられません: --captions は動画に使います"));
}

// A pattern's one number: %d, or %05d and the like.
const QRegularExpression& numberInPattern() {
    static const QRegularExpression form(QStringLiteral("%(0?)([1-9]?)d"));
    return form;
}

bool isFrameSequence(const QString& target) {
    if (target.endsWith(u'/') || QFileInfo(target).isDir())
        return true;
    const QString name = QFileInfo(target).fileName();
    return name.contains(numberInPattern()) && name.toLower().endsWith(QLatin1String(".png"));
}

} // namespace

ExportFormat exportFormatOf(const QString& file) {
    if (isFrameSequence(file))
        return ExportFormat::PngSequence;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ExportFormat::Png;
    if (suffix == QLatin1String("mp4"))
        return ExportFormat::Mp4;
    if (suffix == QLatin1String("webm"))
        return ExportFormat::WebM;
    if (suffix == QLatin1String("mov"))
        return ExportFormat::Mov;
    if (suffix == QLatin1String("gif"))
        return ExportFormat::Gif;
    if (suffix == QLatin1String("webp"))
        return ExportFormat::WebP;
    usageError(QCoreApplication::translate(
                   "Export", "%s: 書き出せる形式は .png, .mp4, .webm, .mov, .gif, .webp と、"
                             "PNG 連番のフォルダ (名前/) か名前の型 (frame-%05d.png) です"),
               {file});
}

void checkExportSize(QSize size, ExportFormat format) {
    if (int64_t(size.width()) * size.height() > MaxExportArea)
        usageError(QCoreApplication::translate("Export",
                                               "--size が大きすぎます (画素数は 7680x4320 まで)"));
    // 4:2:0 video halves both sides for colour; H.264 wants them whole.
    if (format == ExportFormat::Mp4 && (size.width() % 2 || size.height() % 2))
        usageError(QCoreApplication::translate(
            "Export", "H.264 (.mp4) の幅と高さは偶数でなければなりません"));
}

void checkExportFormat(ExportOptions& options) {
    if (options.list) {
        checkListFormat(options);
        checkExportSize(options.size, options.format);
        if (!options.captions.isEmpty()) {
            options.captions = options.captions.toLower();
            if (options.captions.startsWith(QLatin1Char('.')))
                options.captions.remove(0, 1);
            captionFormatOf(QStringLiteral("card.") + options.captions);
            if (options.format == ExportFormat::Png)
                refuseCaptionsOnStill();
        }
        return;
    }
    if (!options.captions.isEmpty()) {
        captionFormatOf(options.captions);
        if (exportFormatOf(options.file) == ExportFormat::Png)
            refuseCaptionsOnStill();
    }
    options.format = exportFormatOf(options.file);
    checkExportSize(options.size, options.format);
    checkExportLook(options);
}

bool exportKeepsAlpha(ExportFormat format) {
    return format != ExportFormat::Mp4;
}

void checkExportLook(const ExportOptions& options) {
    if (!options.style.transparent)
        return;
    if (!exportKeepsAlpha(options.format))
        usageError(QCoreApplication::translate(
            "Export", "--transparent は .mp4 には使えません (H.264 には透明がありません)。"
                      ".webm, .mov, .gif, .webp, .png か PNG 連番にしてください"));
    if (!options.style.picture.isNull() || options.style.background != qRgb(0, 0, 0))
        usageError(QCoreApplication::translate("Export",
                                               "--transparent と --background は一緒に使えません"));
}

FrameFiles frameFilesOf(const QString& target) {
    const QFileInfo info(target);
    if (target.endsWith(u'/') || info.isDir())
        return FrameFiles{QDir::cleanPath(target), QStringLiteral("frame-%05d.png")};
    return FrameFiles{info.path(), info.fileName()};
}

QString FrameFiles::nameOf(int64_t frame) const {
    const QRegularExpressionMatch m = numberInPattern().match(pattern);
    if (!m.hasMatch())
        return pattern;
    const QChar fill = m.capturedLength(1) ? QLatin1Char('0') : QLatin1Char(' ');
    QString name = pattern;
    return name.replace(m.capturedStart(0), m.capturedLength(0),
                        QStringLiteral("%1").arg(frame, m.captured(2).toInt(), 10, fill));
}

} // namespace quillon
