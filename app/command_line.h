#pragma once
// The command line, read once before any window or display exists. Every way the program
// is started and every option of each is a row of one table (command_line.cpp): its
// name, its value, the check of the value with the message for a bad one, and its place
// in the usage, which is made from the same rows, so what is accepted and what the usage
// says cannot part.
#include "app/export/export_options.h"
#include "app/saver/saver_options.h"
#include "platform/core/run_mode.h"
#include "platform/ui/translations.h"

#include <QStringList>
#include <cstdio>
#include <optional>

namespace quillon {

struct CommandLine {
    RunMode mode;
    ExportOptions exportOptions; // for RunKind::Export
    SaverOptions saverOptions;   // for RunKind::Saver
    // Bad usage: said with the usage of the mode, and the program ends with status 2.
    std::optional<QString> problem;
};

// Takes --lang ja|en (or --lang=ja) out of the arguments wherever it stands, since the
// language must be known before anything else can be said; the last one counts.
// Raises UsageError, whose message cannot be translated yet.
std::optional<UiLanguage> takeLanguage(QStringList& arguments);

// Reads the arguments after the program's name, without --lang; the messages are in the
// language in force. xscreensaverWindow is $XSCREENSAVER_WINDOW, where --root draws.
CommandLine readCommandLine(const QStringList& arguments, const QString& xscreensaverWindow = {});

// The usage of one way to start the program (Export, Saver), or of all of them.
QString usage(RunKind kind = RunKind::Help);

// Answers a command line that is not a run: the usage or the version on out (status 0),
// the problem and the usage on err (status 2). Nothing, and no status, for a run.
std::optional<int> answerCommandLine(const CommandLine& line, FILE* out = stdout,
                                     FILE* err = stderr);

// The names of the options a way of starting accepts, with their two dashes; all the
// table's for Help.
QStringList acceptedOptions(RunKind kind);

// The arguments of main() after the program's name, as the system gave them.
QStringList argumentsOf(int argc, char** argv);

} // namespace quillon
