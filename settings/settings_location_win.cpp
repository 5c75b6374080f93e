#include "settings/settings_location.h"

#include "platform/core/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

namespace quillon {

namespace {
// Asked by trying: the folder's access rules, a read-only medium and a redirected
// Program Files all answer the same way to a file made there.
bool canWriteIn(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.quillon-XXXXXX"));
    return probe.open();
}
} // namespace

SettingsLocationInputs currentSettingsLocationInputs() {
    SettingsLocationInputs inputs;
    inputs.configOption = environment().runMode().configFile;
    inputs.programFolder = QCoreApplication::applicationDirPath();
    inputs.home = QDir::homePath();
    inputs.appData = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    inputs.programFolderWritable = canWriteIn(inputs.programFolder);
    return inputs;
}

} // namespace quillon
