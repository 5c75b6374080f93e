#include "settings/settings_location.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {

const QString FileName = QStringLiteral("Quillon.ini");

bool isConfigSwitch(const QString& argument) {
    return argument == QLatin1String("--config") || argument == QLatin1String("-config");
}

bool isConfigAssignment(const QString& argument) {
    return argument.startsWith(QLatin1String("--config=")) ||
           argument.startsWith(QLatin1String("-config="));
}

QString assignedValue(const QString& argument) {
    return argument.mid(argument.indexOf(u'=') + 1);
}

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

QString configOption(const QStringList& arguments) {
    QString value;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (isConfigSwitch(arguments[i]) && i + 1 < arguments.size())
            value = arguments[++i];
        else if (isConfigAssignment(arguments[i]))
            value = assignedValue(arguments[i]);
    }
    return value;
}

std::optional<QString> configOptionProblem(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const bool missing =
            isConfigSwitch(arguments[i])
                ? i + 1 == arguments.size() || arguments[++i].isEmpty()
                : isConfigAssignment(arguments[i]) && assignedValue(arguments[i]).isEmpty();
        if (missing)
            return QStringLiteral("--config needs the path of a settings file");
    }
    return std::nullopt;
}

} // namespace quillon
