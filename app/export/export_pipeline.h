#pragma once
// The export itself, shared by the command line and the window: a card's frames and
// cues become a picture or a video with its sound, written whole or not at all.
#include "app/export/export_options.h"
#include "app/export/export_source.h"
#include "platform/core/error.h"

#include <QCoreApplication>

#include <atomic>
#include <cstdint>
#include <functional>

namespace quillon {

class CueMixer;

// The user stopped the export; nothing is left behind.
class EExportCancelled : public Exception {
public:
    EExportCancelled()
        : Exception(QCoreApplication::translate("Errors", "書き出しを取り消しました")) {}
};

struct ExportProgress {
    int64_t frames = 0;         // written so far
    int64_t expectedFrames = 0; // the whole card; may be off by a few
};
using ExportProgressCallback = std::function<void(const ExportProgress&)>;

// Writes the card to options.file in options.format. A failure raises an error whose
// message says what went wrong; a cancel raises EExportCancelled. Either way no file
// is left at options.file, and an older file there is untouched.
void exportCard(ExportSource& source, const ExportOptions& options,
                const ExportProgressCallback& progress, const std::atomic_bool& cancel);

// A frame as a PNG file holds it: grey levels when it is all grey (half the size and
// time, nothing lost), with its alpha when it has one.
QImage pngPictureOf(const QImage& card);

// The program's built-in sounds, by name, for the mix.
void loadCardSounds(CueMixer& mixer);

// The first sample of frame k.
inline int64_t sampleOfFrame(int64_t frame, int fps, int rate = ExportSampleRate) {
    return frame * rate / fps;
}

} // namespace quillon
