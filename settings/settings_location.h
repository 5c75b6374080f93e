#pragma once
// Where Quillon.ini lives. An installed program cannot write beside itself, so unless a
// file is named on the command line or one already sits beside the program (portable
// use), the settings go to the user's own configuration folder.
#include <QString>

namespace quillon {

struct SettingsLocationInputs {
    QString configOption;  // the value of --config; empty when not given
    QString programFolder; // the folder of the running program
    QString xdgConfigHome; // $XDG_CONFIG_HOME as set; empty or relative means unset
    QString home;          // $HOME
    // Windows: %APPDATA%, and whether the program's folder can be written. Without an
    // absolute appData the XDG rules hold.
    QString appData{};
    bool programFolderWritable = false;
};

struct SettingsLocation {
    enum class Kind { Named, BesideProgram, UserConfig };
    Kind kind;
    QString path;
    // Only the user's own configuration folder is made when it is missing; a named
    // file or the program's folder must exist as the user left it.
    bool makeFolder() const { return kind == Kind::UserConfig; }
};

// (a) --config PATH; (b) a Quillon.ini that already exists in the program's folder;
// (c) $XDG_CONFIG_HOME/quillon/Quillon.ini, by default ~/.config/quillon/Quillon.ini.
// On Windows (c) is Quillon.ini beside the program when that folder can be written (a
// portable copy), else %APPDATA%\Quillon\Quillon.ini (an installed one).
SettingsLocation settingsLocation(const SettingsLocationInputs& inputs);

// Makes the missing folders above the settings file, private to the user (0700) as the
// XDG base directory rules ask. False when that fails.
bool makeSettingsFolder(const QString& settingsPath);

// The inputs of the running program: its --config, its folder and its environment
// (one source file per system).
SettingsLocationInputs currentSettingsLocationInputs();

} // namespace quillon
