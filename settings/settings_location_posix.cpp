#include "settings/settings_location.h"

#include "platform/core/services.h"

#include <QCoreApplication>
#include <QDir>

namespace quillon {

SettingsLocationInputs currentSettingsLocationInputs() {
    return {environment().runMode().configFile, QCoreApplication::applicationDirPath(),
            qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()};
}

} // namespace quillon
