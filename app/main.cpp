#include "app/main_form.h"
#include "app/program.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/translations.h"
#include "platform/core/library_loader.h"

#include <QScreen>

using namespace quillon;

int main(int argc, char** argv) {
    QuillonApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    installJapaneseTranslations(app);
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
