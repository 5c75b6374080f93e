#include "app/export/export_controller.h"

#include "app/export/export_pipeline.h"
#include "platform/core/services.h"
#include "platform/ui/prompts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QProgressDialog>
#include <QThread>

namespace quillon {

namespace {

QString filterOf(const ExportFormatRow& row) {
    return QCoreApplication::translate("Export", row.chooserLabel);
}

const ExportFormatRow& rowOfFilter(const QString& filter) {
    for (const ExportFormatRow& row : exportFormats())
        if (filterOf(row) == filter)
            return row;
    return exportFormats().front();
}

const ExportFormatRow& rowOfFile(const QString& file) {
    try {
        return exportFormatRow(exportFormatOf(file));
    } catch (const ExportUsageError&) {
        return exportFormats().front();
    }
}

} // namespace

ExportChoice WidgetExportUi::chooseFile(QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent, QCoreApplication::translate("Export", "カードを書き出す"));
    // The chooser of our own, so that it can hold the check box.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const ExportFormatRow& row : exportFormats())
        filters << filterOf(row);
    dialog.setNameFilters(filters);
    auto* transparent =
        new QCheckBox(QCoreApplication::translate("Export", "背景を透明にする(&T)"), &dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(transparent, grid->rowCount(), 0, 1, grid->columnCount());
    // The extension follows the kind chosen in the list. A name typed with another
    // extension wins, so the box stays; an MP4 asked to be transparent is refused
    // with the reason.
    const auto follow = [&dialog](const ExportFormatRow& row) {
        dialog.setDefaultSuffix(QString::fromLatin1(row.extension));
    };
    const ExportFormatRow& suggestedRow = rowOfFile(suggested);
    dialog.selectNameFilter(filterOf(suggestedRow));
    follow(suggestedRow);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&follow](const QString& filter) { follow(rowOfFilter(filter)); });
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    ExportChoice choice;
    choice.file = dialog.selectedFiles().first();
    // A PNG sequence goes into the folder of the name given.
    if (*rowOfFilter(dialog.selectedNameFilter()).extension == '\0' &&
        !choice.file.endsWith(u'/') && exportFormatOf(choice.file) != ExportFormat::PngSequence)
        choice.file += u'/';
    choice.transparent = transparent->isChecked();
    return choice;
}

void WidgetExportUi::showFailure(QWidget* parent, const QString& message) {
    prompts().showError(parent, message);
}

ExportController::ExportController(ExportSourceFactory makeSource, QWidget* parent, ExportUi* ui)
    : QObject(parent), makeSource_(std::move(makeSource)), parent_(parent),
      ui_(ui ? ui : &widgetUi_) {}

ExportController::~ExportController() {
    if (worker_) {
        cancel_ = true;
        worker_->wait();
        delete worker_;
    }
}

void ExportController::exportLines(const QByteArray& line1, const QByteArray& line2) {
    if (busy())
        return;
    const QString suggested =
        lastFile_.isEmpty() ? QDir::home().filePath(QStringLiteral("card.mp4")) : lastFile_;
    const ExportChoice choice = ui_->chooseFile(parent_, suggested);
    const QString& file = choice.file;
    if (file.isEmpty())
        return;
    lastFile_ = file;
    ExportOptions options;
    options.file = file;
    options.line1 = line1;
    options.line2 = line2;
    options.style.transparent = choice.transparent;
    try {
        options.format = exportFormatOf(file);
        checkExportSize(options.size, options.format);
        checkExportLook(options);
    } catch (const Exception& error) {
        ui_->showFailure(parent_, error.message());
        emit finished(false, error.message());
        return;
    }
    start(options);
}

void ExportController::start(const ExportOptions& options) {
    cancel_ = false;
    cancelled_ = false;
    percent_ = -1;
    failure_.clear();
    progress_ =
        new QProgressDialog(QCoreApplication::translate("Export", "書き出し中: %1")
                                .arg(QFileInfo(options.file).fileName()),
                            QCoreApplication::translate("Export", "キャンセル"), 0, 100, parent_);
    progress_->setWindowTitle(QStringLiteral("Quillon for DirectX"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumWidth(360); // room for the whole caption
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    progress_->setValue(0);
    connect(progress_, &QProgressDialog::canceled, this, [this] {
        cancel_ = true;
        cancelled_ = true;
        if (progress_)
            progress_->setLabelText(QCoreApplication::translate("Export", "取り消し中…"));
    });

    // The source is made, played and destroyed on the worker thread.
    worker_ = QThread::create([this, options] {
        try {
            const std::unique_ptr<ExportSource> source = makeSource_(options);
            exportCard(
                *source, options,
                [this](const ExportProgress& p) {
                    const int percent = int(std::min<int64_t>(
                        99, p.frames * 100 / std::max<int64_t>(1, p.expectedFrames)));
                    // Only a change of a whole percent crosses to the window.
                    if (percent_.exchange(percent) != percent)
                        QMetaObject::invokeMethod(
                            this, [this, percent] { showProgress(percent); }, Qt::QueuedConnection);
                },
                cancel_);
        } catch (const std::exception& error) {
            const auto* own = dynamic_cast<const Exception*>(&error);
            failure_ = own ? own->message() : QString::fromLocal8Bit(error.what());
        }
    });
    connect(worker_, &QThread::finished, this, &ExportController::done);
    worker_->start();
}

void ExportController::showProgress(int percent) {
    if (progress_ && !cancel_)
        progress_->setValue(percent);
}

void ExportController::done() {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    if (progress_)
        progress_->deleteLater();
    progress_ = nullptr;
    const bool ok = failure_.isEmpty();
    // A cancel the user asked for needs no box.
    if (!ok && !cancelled_)
        ui_->showFailure(parent_, failure_);
    emit finished(ok, failure_);
}

} // namespace quillon
