#include "app/export/card_source.h"
#include "app/export/export_command.h"
#include "app/main_form.h"
#include "app/program.h"
#include "platform/core/library_loader.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"

#include <QScreen>

using namespace quillon;

// `--export`: the card goes to a file, and no window is made.
int exportMain(int argc, char** argv) {
    useOffscreenWithoutDisplay();
    QuillonApplication app(argc, argv);
    registerFontSubstitutions();
    const int status = runExportCommand(app.arguments().mid(1), makeCardExportSource);
    FreePlatformLibraries();
    return status;
}

int main(int argc, char** argv) {
    if (isExportCommandLine(argc, argv))
        return exportMain(argc, argv);
    QuillonApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    try {
        CreateForms();
    } catch (const std::exception& error) {
        reportError(error);
        DestroyForms();
        FreePlatformLibraries();
        return 1;
    }
    if (QScreen* screen = MainForm->screen())
        MainForm->move(screen->geometry().center() - MainForm->rect().center());
    MainForm->show();
    const int result = app.exec();
    DestroyForms();
    // Entry points fetched from run-time libraries stay valid until here.
    FreePlatformLibraries();
    return result;
}
