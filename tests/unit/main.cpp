// Unit tests run with a QApplication on the offscreen platform, so that widgets are real.
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/translations.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Sounds go to OpenAL's null device unless a test installs the in-memory one.
    qputenv("ALSOFT_DRIVERS", "null");
    ::testing::InitGoogleTest(&argc, argv);
    quillon::QuillonApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    quillon::registerFontSubstitutions();
    // The choosers are driven for real, in the language the program shows them in.
    quillon::installJapaneseTranslations(app);
    quillon::setApplicationActiveForTesting(1);
    return RUN_ALL_TESTS();
}
