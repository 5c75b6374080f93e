#include "app/export/export_command.h"

#include "app/export/captions.h"
#include "app/export/export_options.h"
#include "app/export/export_pipeline.h"
#include "app/export/list_export.h"
#include "platform/core/console.h"
#include "platform/core/interrupt_flag.h"
#include "platform/ui/headless_platform.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace quillon {

namespace {

void say(FILE* out, const QString& text) {
    fputs(text.toLocal8Bit().constData(), out);
    fflush(out);
}

// A bar redrawn in place on a terminal; otherwise a line every tenth, for logs.
class ProgressPrinter {
public:
    explicit ProgressPrinter(FILE* out) : out_(out), terminal_(isTerminal(out)) {}

    void operator()(const ExportProgress& p) {
        // 100 % only once the file is there.
        show(p.expectedFrames > 0 ? int(std::min<int64_t>(99, p.frames * 100 / p.expectedFrames))
                                  : 0);
    }

    void show(int percent) {
        if (terminal_) {
            if (percent == shown_)
                return;
            constexpr int Width = 30;
            const int filled = percent * Width / 100;
            // The line is redrawn in place.
            say(out_, u'\r' + QCoreApplication::translate("Export", "書き出し中 [%1%2] %3%")
                                  .arg(QString(filled, QLatin1Char('#')),
                                       QString(Width - filled, QLatin1Char('-')))
                                  .arg(percent, 3));
        } else {
            if (shown_ >= 0 && percent / 10 == shown_ / 10)
                return;
            say(out_,
                QCoreApplication::translate("Export", "書き出し中 %1%\n").arg(percent / 10 * 10));
        }
        shown_ = percent;
    }

    // A message in the middle: the bar's line is cleared first and drawn again after.
    void interject(const QString& text) {
        if (terminal_ && shown_ >= 0) {
            say(out_, QStringLiteral("\r\x1b[K"));
            shown_ = -1;
        }
        say(out_, text);
    }

    // Ends the bar's line before anything else is said.
    void done(bool complete) {
        if (complete)
            show(100);
        if (terminal_ && shown_ >= 0)
            say(out_, QStringLiteral("\n"));
    }

private:
    FILE* out_;
    bool terminal_;
    int shown_ = -1;
};

// A list's notices between the lines of one progress display for the whole list.
class ListMessages : public ListReport {
public:
    explicit ListMessages(FILE* out) : printer_(out) {}
    void skipped(int line) override {
        printer_.interject(
            formatMessage(QCoreApplication::translate("Export", "%d行目は空なので飛ばします"),
                          {QString::number(line)}) +
            QLatin1Char('\n'));
    }
    void cutShort(const QString& file, int lines) override {
        printer_.interject(
            formatMessage(QCoreApplication::translate(
                              "Export",
                              "一覧 %s は %d 行目までしか読めません "
                              "(行が長すぎるか、一覧が大きすぎます)。そこまでを書き出します"),
                          {file, QString::number(lines)}) +
            QLatin1Char('\n'));
    }
    void failed(const ListCard& card, const QString& why) override {
        // Most messages name the file already.
        const QString text = why.contains(card.name) ? why : card.name + QStringLiteral(": ") + why;
        printer_.interject(QStringLiteral("quillon: %1\n").arg(text));
    }
    void progress(int64_t done, int64_t total) override { printer_(ExportProgress{done, total}); }
    void done(bool complete) { printer_.done(complete); }

private:
    ProgressPrinter printer_;
};

int runListExport(const ExportOptions& options, const ExportSourceFactory& makeSource,
                  FILE* messages) {
    const InterruptFlag interrupt;
    ListMessages report(messages);
    ListResult result;
    try {
        result = exportList(options, makeSource, report, interrupt.flag());
    } catch (const Exception& error) {
        report.done(false);
        say(messages, QStringLiteral("quillon: %1\n").arg(error.message()));
        return ExportFailed;
    }
    report.done(!result.interrupted && result.failed == 0 && result.cutAfter == 0);
    if (result.interrupted) {
        say(messages, formatMessage(QCoreApplication::translate(
                                        "Export", "中断しました。書き出したカードは %d 枚です: %s"),
                                    {QString::number(result.written), options.file}) +
                          QLatin1Char('\n'));
        return ExportInterrupted;
    }
    if (result.failed > 0) {
        say(messages,
            formatMessage(
                QCoreApplication::translate("Export",
                                            "%d 枚を書き出し、%d 枚を書き出せませんでした: %s"),
                {QString::number(result.written), QString::number(result.failed), options.file}) +
                QLatin1Char('\n'));
        return ExportFailed;
    }
    if (result.cutAfter > 0) {
        say(messages,
            formatMessage(
                QCoreApplication::translate(
                    "Export",
                    "%d 枚を書き出しました。一覧の %d 行目より先は書き出していません: %s"),
                {QString::number(result.written), QString::number(result.cutAfter), options.file}) +
                QLatin1Char('\n'));
        return ExportFailed;
    }
    say(messages, formatMessage(QCoreApplication::translate("Export", "%d 枚を書き出しました: %s"),
                                {QString::number(result.written), options.file}) +
                      QLatin1Char('\n'));
    return ExportSucceeded;
}

} // namespace

void useOffscreenPlatform() {
    useHeadlessPlatform();
}

int runExportCommand(const ExportOptions& options, const ExportSourceFactory& makeSource,
                     FILE* messages) {
    if (options.list)
        return runListExport(options, makeSource, messages);
    const InterruptFlag interrupt;
    ProgressPrinter printer(messages);
    try {
        if (!options.captions.isEmpty())
            checkCaptionsTarget(options.captions);
        const std::unique_ptr<ExportSource> source = makeSource(options);
        exportCard(*source, options, std::ref(printer), interrupt.flag());
        if (!options.captions.isEmpty())
            writeCaptions(options.captions, source->shownTexts());
    } catch (const std::exception& error) {
        printer.done(false);
        const auto* own = dynamic_cast<const Exception*>(&error);
        say(messages, QStringLiteral("quillon: %1\n")
                          .arg(own ? own->message() : QString::fromLocal8Bit(error.what())));
        const bool cancelled = dynamic_cast<const EExportCancelled*>(&error) || interrupt.raised();
        return cancelled ? ExportInterrupted : ExportFailed;
    }
    printer.done(true);
    say(messages, QCoreApplication::translate("Export", "書き出しました: %1\n").arg(options.file));
    if (!options.captions.isEmpty())
        say(messages,
            QCoreApplication::translate("Export", "書き出しました: %1\n").arg(options.captions));
    return ExportSucceeded;
}

} // namespace quillon
