#include "settings/settings_location.h"

#include "platform/core/services.h"

#include <QCoreApplication>
#include <QDir>

namespace quillon {

SettingsLocationInputs currentSettingsLocationInputs() {
    return {configOption(QStringList{QString()} + environment().arguments()),
            QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_CONFIG_HOME"),
            QDir::homePath()};
}

} // namespace quillon
