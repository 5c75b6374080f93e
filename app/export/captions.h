#pragma once
// Captions beside an exported video: WebVTT (.vtt) or SubRip (.srt), UTF-8, one cue per
// typed character while it is up and one for the finished card through its hold.
#include "app/export/export_source.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillon {

enum class CaptionFormat { WebVtt, SubRip };

// The format named by the file's extension; raises ExportUsageError for any other.
CaptionFormat captionFormatOf(const QString& file);

// The whole file. Texts with nothing to read (blank, or over before they begin) get
// no cue.
QByteArray captionFile(const std::vector<ShownText>& texts, CaptionFormat format);

// Raises "%s に書き込めません" when the file plainly cannot be written (its folder is
// missing, or it is a folder): checked before the video takes its time.
void checkCaptionsTarget(const QString& file);

// Writes the file whole or not at all; raises "%s に書き込めません" when it cannot.
void writeCaptions(const QString& file, const std::vector<ShownText>& texts);

} // namespace quillon
