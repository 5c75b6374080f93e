#pragma once
// Answers every box and chooser as told and records what was asked.
#include "platform/ui/prompts.h"

#include <QStringList>

namespace quillon::testing {

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

} // namespace quillon::testing
