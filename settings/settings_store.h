#pragma once
// The ten settings as stored in Quillon.ini, and the rules that move them between the
// file and the settings dialog.
#include "settings/ini_file.h"
#include "settings/setting_table.h"
#include "settings/settings_location.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillon {

struct Settings {
    QString userFile;
    QByteArray faceName = defaultFaceName();
    int charset = setting_table::Charset.initial;
    bool autoClose = setting_table::AutoClose.initial != 0;
    bool silent = setting_table::Silent.initial != 0;
    int diceMode = setting_table::DiceMode.initial;
    int original = setting_table::Original.initial;
    int wait = setting_table::Wait.initial;
    int startWait = setting_table::StartWait.initial;
    int magnify = setting_table::Magnify.initial;

    bool operator==(const Settings&) const = default;
};

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

// Where the settings file lives: the environment's settings folder when it names one (a
// test's), otherwise by the location rules of settings_location.h.
SettingsLocation currentSettingsLocation();
QString settingsFilePath();

} // namespace quillon
