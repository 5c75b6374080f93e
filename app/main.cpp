#include "app/export/card_source.h"
#include "app/export/export_command.h"
#include "app/export/export_options.h"
#include "app/main_form.h"
#include "app/program.h"
#include "app/saver/saver_main.h"
#include "platform/core/library_loader.h"
#include "platform/services/program_services.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/translations.h"
#include "settings/settings_location.h"

#include <QScreen>
#include <cstdio>
#include <vector>

using namespace quillon;

// `--export`: the card goes to a file, and no window is made.
int exportMain(int argc, char** argv, UiLanguage language) {
    useOffscreenPlatform();
    QuillonApplication app(argc, argv);
    useLanguage(language);
    const ProgramServices programServices;
    registerFontSubstitutions();
    const int status = runExportCommand(app.arguments().mid(1), [](const ExportOptions& options) {
        return makeCardExportSource(options);
    });
    freePlatformLibraries();
    return status;
}

int main(int argc, char** argv) {
    // --lang is the program's for every mode, and no mode sees it.
    std::vector<char*> kept(argv, argv + argc);
    const LanguageOption languageOption = takeLanguageOption(kept);
    if (languageOption.problem) {
        std::fprintf(stderr, "quillon: %s\n", qPrintable(*languageOption.problem));
        return 2;
    }
    argc = int(kept.size()) - 1;
    argv = kept.data();
    const UiLanguage language = languageOption.language.value_or(systemLanguage());

    // Checked before the application needs a display, so the message reaches a terminal.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto problem = configOptionProblem(arguments)) {
        std::fprintf(stderr, "quillon: %s\n", qPrintable(*problem));
        return 2;
    }
    if (isExportCommandLine(argc, argv))
        return exportMain(argc, argv, language);
    if (isSaverCommandLine(argc, argv))
        return saverMain(argc, argv, language);
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
