// Start-up time (process start to the main window shown) and peak resident memory,
// over repeated fresh processes. The child shows the main window, then runs one short
// card so that the memory figure includes the display pages and the sounds.
#include "app/main_form.h"
#include "app/program.h"
#include "platform/services/program_services.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/spin_edit.h"
#include "presentation/disp_form.h"
#include "settings/option_form.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

using namespace quillon;

namespace {

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
    std::printf("shown\n");
    std::fflush(stdout);

    // A quick card: the settings in force, never saved.
    program->optionForm().StartWaitSpinEdit->setValue(500);
    program->optionForm().WaitSpinEdit->setValue(0);
    TDispForm& card = program->dispForm();
    card.RunQuillon(QByteArray("Quillon"), QByteArray("memory"));
    QElapsedTimer guard;
    guard.start();
    while (!card.Card().CardDone() && guard.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    std::fflush(stdout);
    program.reset();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);

    const int runs = 15;
    std::vector<double> startMs;
    std::vector<long> rssKb;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ALSOFT_DRIVERS"), QStringLiteral("null"));
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
        while (!process.canReadLine() && process.waitForReadyRead(20000)) {
        }
        startMs.push_back(timer.nsecsElapsed() / 1e6);
        process.readLine();
        process.waitForFinished(30000);
        rssKb.push_back(QByteArray(process.readLine()).trimmed().toLong());
    }
    std::sort(startMs.begin(), startMs.end());
    std::sort(rssKb.begin(), rssKb.end());
    std::printf("%d fresh processes\n", runs);
    std::printf(
        "start to main window shown: median %.1f ms, min %.1f ms, max %.1f ms (target < 400 ms)\n",
        startMs[runs / 2], startMs.front(), startMs.back());
    std::printf(
        "peak resident memory after one card: median %.1f MB, max %.1f MB (target < 80 MB)\n",
        rssKb[runs / 2] / 1024.0, rssKb.back() / 1024.0);
    return 0;
}
