#include "app/main_form.h"
#include "app/program.h"
#include "platform/core/library_loader.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"

#include <QScreen>
#include <memory>

using namespace quillon;

int main(int argc, char** argv) {
    QuillonApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    std::unique_ptr<Program> program;
    try {
        program = std::make_unique<Program>();
    } catch (const std::exception& error) {
        reportError(error);
        program.reset();
        FreePlatformLibraries();
        return 1;
    }
    TMainForm& mainForm = program->mainForm();
    if (QScreen* screen = mainForm.screen())
        mainForm.move(screen->geometry().center() - mainForm.rect().center());
    mainForm.show();
    const int result = app.exec();
    program.reset();
    // Entry points fetched from run-time libraries stay valid until here.
    FreePlatformLibraries();
    return result;
}
