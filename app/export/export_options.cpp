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

} // namespace

void checkExportFormat(ExportOptions& options) {
    if (options.list) {
        checkListFormat(options);
        checkExportSize(options.size, options.format);
        if (!options.captions.isEmpty()) {
            options.captions = options.captions.toLower();
            if (options.captions.startsWith(QLatin1Char('.')))
                options.captions.remove(0, 1);
            captionFormatOf(QStringLiteral("card.") + options.captions);
            if (!exportFormatRow(options.format).captions)
                refuseCaptionsOnStill();
        }
        return;
    }
    if (!options.captions.isEmpty()) {
        captionFormatOf(options.captions);
        if (!exportFormatRow(exportFormatOf(options.file)).captions)
            refuseCaptionsOnStill();
    }
    options.format = exportFormatOf(options.file);
    checkExportSize(options.size, options.format);
    checkExportLook(options);
}

void checkExportLook(const ExportOptions& options) {
    if (!options.style.transparent)
        return;
    if (!exportKeepsAlpha(options.format))
        usageError(
            QCoreApplication::translate("Export", exportFormatRow(options.format).noAlphaMessage));
    if (!options.style.picture.isNull() || options.style.background != qRgb(0, 0, 0))
        usageError(QCoreApplication::translate("Export",
                                               "--transparent と --background は一緒に使えません"));
}

} // namespace quillon
