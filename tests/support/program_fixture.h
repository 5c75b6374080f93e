#pragma once
// Shared by the tests that run the program's four windows: Quillon.ini in a temporary
// folder, every box and chooser answered by a recording fake, and file helpers.
#include "app/program.h"
#include "platform/ui/prompts.h"
#include "settings/settings_store.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// Answers every box and chooser as told and records what was asked.
class AnsweringPrompts : public Prompts {
public:
    bool yes = true;
    QString openAnswer; // empty: cancel
    QString saveAnswer; // empty: cancel
    QString fontAnswer; // empty: cancel
    int beeps = 0;
    QStringList errors, questions, reports, saveChooserCalls;
    FileFilter lastFilter;
    QString lastSuffix;

    void showError(QWidget*, const QString& message) override { errors.append(message); }
    bool askYesNo(QWidget*, const QString& message) override {
        questions.append(message);
        return yes;
    }
    void tellOk(QWidget*, const QString& message) override { reports.append(message); }
    QString chooseOpenFile(QWidget*, const QString&, const FileFilter& filter,
                           const QString& suffix) override {
        lastFilter = filter;
        lastSuffix = suffix;
        return openAnswer;
    }
    QString chooseSaveFile(QWidget*, const QString&, const FileFilter& filter,
                           const QString& suffix) override {
        saveChooserCalls.append(filter.pattern + u' ' + suffix);
        return saveAnswer;
    }
    bool chooseFont(QWidget*, QFont& font) override {
        if (fontAnswer.isEmpty())
            return false;
        font.setFamily(fontAnswer);
        return true;
    }
    void beep() override { ++beeps; }
};

// The settings file lives in a temporary folder and the boxes are answered by the fake;
// the windows are created by each test and destroyed afterwards.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        setSettingsDirectoryForTesting(dir.path());
        setPrompts(&fake);
    }
    void TearDown() override {
        DestroyForms();
        setPrompts(nullptr);
        setSettingsDirectoryForTesting({});
    }
    QString ini() const { return dir.filePath("Quillon.ini"); }

    QTemporaryDir dir;
    AnsweringPrompts fake;
};

} // namespace quillon::testing
