#pragma once
// A card as a PNG sequence: one picture per frame of the grid, named by the pattern,
// with the card's sound as sound.wav beside them. Everything is made in a hidden folder
// first and moved into place only when complete.
#include "app/export/export_pipeline.h"

namespace quillon {

// As exportCard, for ExportFormat::PngSequence.
void exportFrameSequence(ExportSource& source, const ExportOptions& options,
                         const ExportProgressCallback& progress, const std::atomic_bool& cancel);

} // namespace quillon
