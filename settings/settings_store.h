#pragma once
// The ten settings as stored in Quillon.ini beside the program, and the rules that
// move them between the file and the settings dialog.
#include "settings/ini_file.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillon {

// "ＭＳ 明朝", the face of the title card until the user picks another.
QByteArray DefaultFaceName();

struct Settings {
    QString userFile;
    QByteArray faceName = DefaultFaceName();
    int charset = 128;
    bool autoClose = false;
    bool silent = false;
    int diceMode = 1;
    int original = 3;
    int wait = 120;
    int startWait = 1500;
    int magnify = 70;

    bool operator==(const Settings&) const = default;
};

// Ranges of the settings after a load.
struct Range {
    int min;
    int max;
    int clamp(int v) const { return v < min ? min : (v > max ? max : v); }
};
inline constexpr Range DiceModeRange{-1, 2};
inline constexpr Range OriginalRange{-1, 3};
inline constexpr Range WaitRange{0, 500};
inline constexpr Range StartWaitRange{500, 5000};
inline constexpr Range MagnifyRange{0, 100};

// Face names are LOGFONT-sized: at most 31 bytes.
inline constexpr qsizetype FaceNameLimit = 31;
// The first 31 bytes of a face name, never splitting a double-byte character.
QByteArray cutFaceName(const QByteArray& face);

// An integer in decimal (optional sign) or hexadecimal with "0x"/"0X" (taken as
// 32 bits, two's complement); nullopt for anything else, an empty text included.
std::optional<int> parseIniInteger(const QByteArray& text);

// How UserFile keeps a path. A path that Shift-JIS holds exactly is stored as its
// Shift-JIS text, as the file has always had it. Any other path (é or ü are ordinary in
// Linux file names) is stored as a file URL of its UTF-8 bytes, "file://" and percent
// escapes: plain ASCII, read back exactly. A path that itself begins with "file://" is
// stored that way too, so that it cannot be taken for one.
QByteArray storedPath(const QString& path);
// The path a stored UserFile value names. A "file://" value whose escapes do not give
// UTF-8 is read as Shift-JIS text, like any other value.
QString pathOfStored(const QByteArray& value);

// The settings after reading doc over current: missing or unreadable keys take
// their key defaults, numbers are clamped, an empty Name keeps the current face.
Settings readSettings(const IniDocument& doc, const Settings& current);
// Writes all ten keys in the order of the file. False when a value cannot be stored.
bool writeSettings(IniDocument& doc, const Settings& settings);

// Where the settings file lives: the program's directory, unless a test has moved it.
QString SettingsFilePath();
void setSettingsDirectoryForTesting(const QString& directory); // empty: the program's

} // namespace quillon
