// The program's command line, as main() reads it: arbitrary arguments (NUL-separated in
// the input) never read past the list; the run is one mode or a problem with a message;
// only normal use holds the screen saver off; a --config is never taken without a name.
#include "app/command_line.h"
#include "settings/settings_location.h"

#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& part : bytes.split('\0'))
        arguments.append(QString::fromUtf8(part));
    try {
        (void)takeLanguage(arguments);
    } catch (const UsageError& error) {
        if (error.message().isEmpty())
            std::abort();
        return 0;
    }
    const CommandLine line = readCommandLine(arguments);
    if (line.problem) {
        if (line.problem->isEmpty())
            std::abort();
        return 0;
    }
    if (line.mode.keepsScreenAwake() != (line.mode.kind == RunKind::Normal))
        std::abort();
    const QString& named = line.mode.configFile;
    const SettingsLocation location =
        settingsLocation({named, QStringLiteral("/nonexistent-program-folder"), arguments.value(1),
                          arguments.value(2)});
    if (location.path.isEmpty() || (named.isEmpty() && !location.path.endsWith("Quillon.ini")))
        std::abort();
    return 0;
}
