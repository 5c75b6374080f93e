#pragma once
// Shared by the tests that run the program's four windows: Quillon.ini in a temporary
// folder, every box and chooser answered by a recording fake, and file helpers.
#include "about/about_form.h"
#include "app/main_form.h"
#include "app/program.h"
#include "platform/core/clock.h"
#include "platform/core/services.h"
#include "presentation/disp_form.h"
#include "settings/option_form.h"
#include "support/answering_prompts.h"
#include "support/test_environment.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace quillon::testing {

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The settings file lives in a temporary folder and the boxes are answered by the fake;
// each test makes the windows and the fixture lets them go.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        environment.settings = dir.path();
        services.emplace(Services{.clock = &clock, .prompts = &fake, .environment = &environment});
    }
    void TearDown() override {
        program.reset();
        services.reset();
    }
    // The four windows, made as at program start.
    Program& makeProgram() {
        program = std::make_unique<Program>();
        MainForm = &program->mainForm();
        DispForm = &program->dispForm();
        OptionForm = &program->optionForm();
        AboutForm = &program->aboutForm();
        return *program;
    }
    QString ini() const { return dir.filePath("Quillon.ini"); }

    QTemporaryDir dir;
    ManualClock clock;
    AnsweringPrompts fake;
    TestEnvironment environment;
    std::optional<ScopedServices> services;
    std::unique_ptr<Program> program;
    TMainForm* MainForm = nullptr;
    TDispForm* DispForm = nullptr;
    TOptionForm* OptionForm = nullptr;
    TAboutForm* AboutForm = nullptr;
};

} // namespace quillon::testing
