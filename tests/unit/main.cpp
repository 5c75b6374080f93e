// Unit tests run with a QApplication on the platform of a run without windows (offscreen
// on Linux), so that widgets are real.
#include "platform/core/services.h"
#include "platform/services/program_services.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "platform/ui/headless_platform.h"
#include "platform/ui/translations.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    quillon::useHeadlessPlatform();
    // Sounds go to OpenAL's null device unless a test installs the in-memory one.
    qputenv("ALSOFT_DRIVERS", "null");
    // The settings of whoever runs the tests are neither read nor written.
    const QTemporaryDir userConfig;
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    quillon::QuillonApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const quillon::ProgramServices programServices;
    quillon::registerFontSubstitutions();
    // The windows, boxes and choosers are driven for real in Japanese, the program's own
    // language, whatever the locale of whoever runs the tests.
    quillon::useLanguage(quillon::UiLanguage::Japanese);
    // The application counts as active, and nothing reads the real command line or
    // writes beside the test program.
    quillon::testing::TestEnvironment environment;
    environment.settings = QDir::tempPath() + QStringLiteral("/quillon-unit-tests-no-settings");
    quillon::ScopedServices services({.environment = &environment});
    return RUN_ALL_TESTS();
}
