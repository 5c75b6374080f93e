#pragma once
// The card as the export plays it: the user's settings, the lines and the seed of the
// options, on a virtual clock, drawn at the output size.
#include "app/export/export_source.h"

namespace quillon {

struct Settings;

// With the settings stored where the program keeps them.
std::unique_ptr<ExportSource> makeCardExportSource(const ExportOptions& options);
// With the given settings.
std::unique_ptr<ExportSource> makeCardExportSource(const ExportOptions& options,
                                                   const Settings& settings);

} // namespace quillon
