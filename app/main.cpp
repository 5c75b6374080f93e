#include "app/main_form.h"
#include "app/program.h"
#include "platform/desktop/screen_inhibitor.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/core/library_loader.h"
#include "settings/settings_location.h"

#include <QScreen>
#include <cstdio>

using namespace quillon;

int main(int argc, char** argv) {
    // Checked before the application needs a display, so the message reaches a terminal.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto problem = configOptionProblem(arguments)) {
        std::fprintf(stderr, "quillon: %s\n", qPrintable(*problem));
        return 2;
    }
    QuillonApplication app(argc, argv);
    // The desktop matches the windows to the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillon.Quillon"));
    const auto inhibitor = makeScreenInhibitor(QCoreApplication::arguments());
    setScreenInhibitor(inhibitor.get());
    app.setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    try {
        CreateForms();
    } catch (const std::exception& error) {
        reportError(error);
        DestroyForms();
        setScreenInhibitor(nullptr);
        FreePlatformLibraries();
        return 1;
    }
    if (QScreen* screen = MainForm->screen())
        MainForm->move(screen->geometry().center() - MainForm->rect().center());
    MainForm->show();
    const int result = app.exec();
    DestroyForms();
    setScreenInhibitor(nullptr);
    // Entry points fetched from run-time libraries stay valid until here.
    FreePlatformLibraries();
    return result;
}
