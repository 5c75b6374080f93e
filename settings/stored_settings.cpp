#include "settings/stored_settings.h"

#include "platform/text/sjis.h"

#include <QFile>

namespace quillon {

Settings loadStoredSettings() {
    QFile file(settingsFilePath());
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return Settings{};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Settings{};
    return readSettings(IniDocument::parse(bytes), Settings{});
}

DisplayFont StoredSettings::Font() const {
    return {sjis::toUnicode(s_.faceName), s_.charset};
}

} // namespace quillon
