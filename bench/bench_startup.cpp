// Start-up time (process start to a usable main window) and peak resident memory, over
// repeated fresh processes, with a user list of 10 lines beside one of 200,000 lines of
// catalogue-like Shift-JIS, taken in turns in one run. The child shows the main window,
// then runs one short card so that the memory figure includes the display pages and the
// sounds.
#include "app/main_form.h"
#include "app/program.h"
#include "platform/services/program_services.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/spin_edit.h"
#include "presentation/disp_form.h"
#include "settings/option_form.h"
#include "subtitles/catalogue.h"
#include "subtitles/subtitle_combo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace quillon;

namespace {

// Peak resident memory in kB, as the kernel counts it.
long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

int child(int argc, char** argv) {
    QuillonApplication app(argc, argv);
    const ProgramServices programServices;
    app.setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    auto program = std::make_unique<Program>();
    TMainForm& mainForm = program->mainForm();
    mainForm.show();
    while (!mainForm.windowHandle() || !mainForm.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    // Usable: shown, and the user list enabled and filled.
    QCoreApplication::processEvents();
    std::printf("shown %d %d\n", mainForm.ComboBox2->isEnabled() ? 1 : 0,
                mainForm.ComboBox2->itemCount());
    std::fflush(stdout);

    // A quick card: the settings in force, never saved.
    program->optionForm().StartWaitSpinEdit->setValue(500);
    program->optionForm().WaitSpinEdit->setValue(0);
    TDispForm& card = program->dispForm();
    card.RunQuillon(QByteArray("Quillon"), QByteArray("memory"));
    QElapsedTimer guard;
    guard.start();
    while (!card.card().CardDone() && guard.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    std::printf("%ld\n", peakResidentKb());
    std::fflush(stdout);
    program.reset();
    return 0;
}

// A settings folder whose Quillon.ini names a user file of this many lines.
QString writeSettings(const QString& folder, int lines) {
    QDir().mkpath(folder + QStringLiteral("/quillon"));
    const QString list = folder + QStringLiteral("/list.qln");
    QByteArray bytes;
    const QList<QByteArray>& titles = catalogueTitles(2);
    for (int i = 0; i < lines; ++i)
        bytes += titles.at(i % titles.size()) + QByteArray::number(i) + "\r\n";
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    QFile ini(folder + QStringLiteral("/quillon/Quillon.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return {};
    ini.write("[File]\r\nUserFile=" + list.toLocal8Bit() + "\r\n");
    return folder;
}

struct Figures {
    std::vector<double> startMs;
    std::vector<long> peakKb;
    bool usable = true;
};

void runOnce(const char* self, const QString& settings, int lines, Figures& figures) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ALSOFT_DRIVERS"), QStringLiteral("null"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(QString::fromLocal8Bit(self), {QStringLiteral("--child")});
    while (!process.canReadLine() && process.waitForReadyRead(20000)) {
    }
    figures.startMs.push_back(timer.nsecsElapsed() / 1e6);
    const QList<QByteArray> shown = process.readLine().trimmed().split(' ');
    figures.usable = figures.usable && shown.value(1) == "1" && shown.value(2).toInt() == lines;
    process.waitForFinished(30000);
    figures.peakKb.push_back(QByteArray(process.readLine()).trimmed().toLong());
}

void print(const char* name, Figures& f) {
    std::sort(f.startMs.begin(), f.startMs.end());
    std::sort(f.peakKb.begin(), f.peakKb.end());
    const size_t mid = f.startMs.size() / 2;
    std::printf("%-15s start to usable main window: median %7.1f ms (min %7.1f, max %7.1f);"
                " peak resident: median %5.1f MB (max %5.1f)%s\n",
                name, f.startMs[mid], f.startMs.front(), f.startMs.back(), f.peakKb[mid] / 1024.0,
                f.peakKb.back() / 1024.0, f.usable ? "" : "  [list NOT filled]");
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);

    QTemporaryDir dir;
    const QString shortList = writeSettings(dir.filePath(QStringLiteral("short")), 10);
    const QString longList = writeSettings(dir.filePath(QStringLiteral("long")), 200000);
    if (shortList.isEmpty() || longList.isEmpty()) {
        std::fprintf(stderr, "cannot write the lists in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const int runs = 9;
    Figures shortFigures, longFigures;
    // In turns, so that a busy spell of the machine falls on both.
    for (int i = 0; i < runs; ++i) {
        runOnce(argv[0], shortList, 10, shortFigures);
        runOnce(argv[0], longList, 200000, longFigures);
    }
    std::printf("%d fresh processes each (targets: < 1000 ms, < 70 MB with the long list)\n", runs);
    print("10 lines", shortFigures);
    print("200,000 lines", longFigures);
    std::printf("long / short: start %.2f x, peak memory %.2f x\n",
                longFigures.startMs[runs / 2] / shortFigures.startMs[runs / 2],
                double(longFigures.peakKb[runs / 2]) / double(shortFigures.peakKb[runs / 2]));
    return 0;
}
