#pragma once
// `quillon --export FILE [--size WxH] [--fps N] [--seed N] LINE1 [LINE2]`: the card
// written to a file without any window, progress and messages on standard error; with
// `--file LIST.qln` or `--catalogue`, every subtitle of the list into a folder.
#include "app/export/export_source.h"

#include <cstdio>

namespace quillon {

// Exit statuses of the export.
constexpr int ExportSucceeded = 0;
constexpr int ExportFailed = 1;
constexpr int ExportBadUsage = 2;
constexpr int ExportInterrupted = 130; // Ctrl+C, as a shell reports it

// An export from the command line shows no window, so it runs on Qt's offscreen
// platform, display or none; call before the application object is made.
void useOffscreenPlatform();

// Runs the export the command line asked for; returns the exit status.
int runExportCommand(const ExportOptions& options, const ExportSourceFactory& makeSource,
                     FILE* messages = stderr);

} // namespace quillon
