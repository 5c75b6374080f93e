#include "app/command_line.h"
#include "app/export/card_source.h"
#include "app/export/export_command.h"
#include "app/main_form.h"
#include "app/program.h"
#include "app/saver/saver_main.h"
#include "platform/core/console.h"
#include "platform/core/library_loader.h"
#include "platform/core/services.h"
#include "platform/services/program_services.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/translations.h"

#include <QScreen>
#include <cstdio>
#include <optional>

using namespace quillon;

namespace {

// `--export`: the card goes to a file, and no window is made.
int exportMain(int argc, char** argv, const ExportOptions& options, UiLanguage language) {
    useOffscreenPlatform();
    QuillonApplication app(argc, argv);
    useLanguage(language);
    const ProgramServices programServices;
    registerFontSubstitutions();
    const int status =
        runExportCommand(options, [](const ExportOptions& o) { return makeCardExportSource(o); });
    freePlatformLibraries();
    return status;
}

// The run as the command line started it, for every part of the program to ask.
class StartedEnvironment : public Environment {
public:
    explicit StartedEnvironment(RunMode mode) : mode_(std::move(mode)) {}
    RunMode runMode() const override { return mode_; }

private:
    RunMode mode_;
};

} // namespace

int main(int argc, char** argv) {
    attachParentConsole();
    QStringList arguments = argumentsOf(argc, argv);
    std::optional<UiLanguage> chosen;
    try {
        chosen = takeLanguage(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "quillon: %s\n", qPrintable(error.message()));
        return 2;
    }
    const UiLanguage language = chosen.value_or(systemLanguage());

    // Read before any display is needed, so --help, --version and every message reach a
    // terminal; they are in the user's language, which needs an application of their own.
    CommandLine line;
    {
        const QCoreApplication texts(argc, argv);
        useLanguage(language);
        line = readCommandLine(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW"));
        if (const std::optional<int> status = answerCommandLine(line))
            return *status;
    }
    StartedEnvironment started(line.mode);
    Services installed;
    installed.environment = &started;
    const ScopedServices startedServices(installed);
    if (line.mode.kind == RunKind::Export)
        return exportMain(argc, argv, line.exportOptions, language);
    if (line.mode.kind == RunKind::Saver)
        return saverMain(argc, argv, line.saverOptions, language);

    QuillonApplication app(argc, argv);
    const ProgramServices programServices;
    // The desktop matches the windows to the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillon.Quillon"));
    app.setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    useLanguage(language);
    std::unique_ptr<Program> program;
    try {
        program = std::make_unique<Program>();
    } catch (const std::exception& error) {
        reportError(error);
        program.reset();
        freePlatformLibraries();
        return 1;
    }
    TMainForm& mainForm = program->mainForm();
    if (QScreen* screen = mainForm.screen())
        mainForm.move(screen->geometry().center() - mainForm.rect().center());
    mainForm.show();
    const int result = app.exec();
    program.reset();
    // Entry points fetched from run-time libraries stay valid until here.
    freePlatformLibraries();
    return result;
}
