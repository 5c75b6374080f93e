// The program's arguments, as the settings location and the screen inhibitor read
// them: arbitrary arguments (NUL-separated in the input) never read past the list, and
// a --config without a file name is always reported, never taken as a location.
#include "platform/desktop/screen_inhibitor.h"
#include "settings/settings_location.h"

#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments{QStringLiteral("quillon")};
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& part : bytes.split('\0'))
        arguments.append(QString::fromUtf8(part));
    const QString named = configOption(arguments);
    const bool problem = configOptionProblem(arguments).has_value();
    if (!problem && arguments.contains(QStringLiteral("--config")) && named.isEmpty())
        std::abort();
    (void)keepsScreenAwake(arguments);
    const SettingsLocation location =
        settingsLocation({named, QStringLiteral("/nonexistent-program-folder"), arguments.value(1),
                          arguments.value(2)});
    if (location.path.isEmpty() || (named.isEmpty() && !location.path.endsWith("Quillon.ini")))
        std::abort();
    return 0;
}
