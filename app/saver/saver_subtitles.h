#pragma once
// Where the screen saver's subtitles come from: the catalogue and the user's list as the
// settings name them, the same lists the main window offers; or a list file of its own.
#include "subtitles/subtitle_choice.h"

#include <QList>
#include <QString>

namespace quillon {

class Random;
struct Settings;

struct SaverSubtitles {
    SubtitleItems catalogue;
    SubtitleItems user;
    int diceMode = 1;

    // The next card's lines, by the main window's random choice.
    SubtitleLines next(Random& random) const;
};

// The catalogue by Original; the user's list from UserFile. Without a readable user file
// only the catalogue is used (DiceMode 1), as the settings dialog's check makes it;
// *problem then says why when the file exists but cannot be read.
SaverSubtitles subtitlesFromSettings(const Settings& settings, QString* problem = nullptr);

// Every subtitle from this list file, chosen at random. Raises an error with a message
// when the file cannot be read or holds no subtitle.
SaverSubtitles subtitlesFromFile(const QString& path);

} // namespace quillon
