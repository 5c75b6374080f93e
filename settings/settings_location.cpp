#include "settings/settings_location.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {

const QString FileName = QStringLiteral("Quillon.ini");

// The user's configuration folder by the XDG base directory rules: a relative
// XDG_CONFIG_HOME is to be ignored, and so is a home that is not a path.
QString userConfigHome(const SettingsLocationInputs& in) {
    if (QDir::isAbsolutePath(in.xdgConfigHome))
        return QDir::cleanPath(in.xdgConfigHome);
    const QString home = QDir::isAbsolutePath(in.home) ? QDir::cleanPath(in.home) : QString();
    return home + QStringLiteral("/.config");
}

} // namespace

SettingsLocation settingsLocation(const SettingsLocationInputs& in) {
    if (!in.configOption.isEmpty())
        return {SettingsLocation::Kind::Named, QFileInfo(in.configOption).absoluteFilePath()};
    const QString beside = in.programFolder + u'/' + FileName;
    if (QFileInfo::exists(beside))
        return {SettingsLocation::Kind::BesideProgram, beside};
    if (QDir::isAbsolutePath(in.appData)) {
        if (in.programFolderWritable)
            return {SettingsLocation::Kind::BesideProgram, beside};
        return {SettingsLocation::Kind::UserConfig,
                QDir::cleanPath(in.appData) + QStringLiteral("/Quillon/") + FileName};
    }
    return {SettingsLocation::Kind::UserConfig,
            userConfigHome(in) + QStringLiteral("/quillon/") + FileName};
}

bool makeSettingsFolder(const QString& settingsPath) {
    const QString folder = QFileInfo(settingsPath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    if (!makeSettingsFolder(folder))
        return false;
    const auto privateToUser =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    return QDir().mkdir(folder, privateToUser) || QFileInfo(folder).isDir();
}

} // namespace quillon
