#pragma once
// Export from the window: a save chooser offering every format, with a check box for a
// transparent background, then the card
// written on a worker thread (its own source and mixer) behind a progress dialog that
// can be cancelled, so the window stays live.
#include "app/export/export_options.h"
#include "app/export/export_source.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <atomic>

class QThread;
class QWidget;

namespace quillon {

// What the user chose in the save chooser.
struct ExportChoice {
    QString file; // empty when the user cancelled; a folder ends in "/"
    bool transparent = false;
};

// What the export asks of the user; tests answer instead.
class ExportUi {
public:
    virtual ~ExportUi() = default;
    virtual ExportChoice chooseFile(QWidget* parent, const QString& suggested) = 0;
    virtual void showFailure(QWidget* parent, const QString& message) = 0;
};

// The save chooser and the program's error box.
class WidgetExportUi : public ExportUi {
public:
    ExportChoice chooseFile(QWidget* parent, const QString& suggested) override;
    void showFailure(QWidget* parent, const QString& message) override;
};

class ExportController : public QObject {
    Q_OBJECT
public:
    // ui: nullptr for the real chooser and boxes.
    ExportController(ExportSourceFactory makeSource, QWidget* parent, ExportUi* ui = nullptr);
    // A running export is cancelled and waited for.
    ~ExportController() override;

    // Asks for a file and starts writing the card of the two lines (Shift-JIS) to it.
    // Returns at once; finished tells the end. Does nothing while an export runs.
    void exportLines(const QByteArray& line1, const QByteArray& line2);
    bool busy() const { return worker_ != nullptr; }
    QProgressDialog* progressDialog() const { return progress_; }

signals:
    // ok false: failed (message said to the user) or cancelled (said to nobody).
    void finished(bool ok, const QString& message);

private:
    void start(const ExportOptions& options);
    void showProgress(int percent);
    void done();

    ExportSourceFactory makeSource_;
    QWidget* parent_;
    WidgetExportUi widgetUi_;
    ExportUi* ui_;
    QString lastFile_;
    QThread* worker_ = nullptr;
    QPointer<QProgressDialog> progress_;
    std::atomic_bool cancel_{false};
    std::atomic_int percent_{-1};
    QString failure_; // written by the worker, read once it has ended
    bool cancelled_ = false;
};

} // namespace quillon
