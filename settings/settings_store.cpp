#include "settings/settings_store.h"

#include "platform/text/sjis.h"

#include "platform/core/services.h"

#include <QDir>
#include <QStringDecoder>

#include <limits>

namespace quillon {

namespace {

const QByteArray FileUrlPrefix = "file://";

std::optional<int> parseHex(const QByteArray& digits) {
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    quint32 v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        v = v * 16 + static_cast<quint32>(d);
    }
    return static_cast<int>(v);
}

std::optional<int> parseDecimal(const QByteArray& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return std::nullopt;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

// The stored number, or the key default when it is missing or not a number.
int readNumber(const IniDocument& doc, const NumberSetting& setting) {
    const auto text = doc.value(setting.section, setting.key);
    if (!text)
        return setting.keyDefault;
    return parseIniInteger(*text).value_or(setting.keyDefault);
}

bool writeNumber(IniDocument& doc, const NumberSetting& setting, int value) {
    return doc.setValue(setting.section, setting.key, QByteArray::number(value));
}

} // namespace

QByteArray defaultFaceName() {
    return sjis::fromUnicode(QStringLiteral("ＭＳ 明朝"));
}

QByteArray cutFaceName(const QByteArray& face) {
    return sjis::cutToCharacters(face, setting_table::FaceNameLimit);
}

std::optional<int> parseIniInteger(const QByteArray& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseHex(text.mid(2));
    return parseDecimal(text);
}

// A path Shift-JIS holds is stored in the system's own form (backslashes on Windows, as
// other programs there write it); read back, it is in the program's form again.
QByteArray storedPath(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    QByteArray text = sjis::fromUnicode(native);
    if (sjis::toUnicode(text) == native && !text.startsWith(FileUrlPrefix))
        return text;
    return FileUrlPrefix + path.toUtf8().toPercentEncoding("/");
}

QString pathOfStored(const QByteArray& value) {
    if (value.startsWith(FileUrlPrefix)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        QString path =
            utf8.decode(QByteArray::fromPercentEncoding(value.mid(FileUrlPrefix.size())));
        if (!utf8.hasError())
            return path;
    }
    return QDir::fromNativeSeparators(sjis::toUnicode(value));
}

Settings readSettings(const IniDocument& doc, const Settings& current) {
    using namespace setting_table;
    Settings s = current;
    s.userFile = pathOfStored(doc.value(FileSection, UserFileKey).value_or(QByteArray()));
    const QByteArray face = doc.value(FontSection, NameKey).value_or(defaultFaceName());
    if (!face.isEmpty())
        s.faceName = cutFaceName(face);
    s.charset = readNumber(doc, Charset) & 0xFF;
    s.autoClose = readNumber(doc, AutoClose) != 0;
    s.silent = readNumber(doc, Silent) != 0;
    s.diceMode = DiceMode.clamp(readNumber(doc, DiceMode));
    s.original = Original.clamp(readNumber(doc, Original));
    s.wait = Wait.clamp(readNumber(doc, Wait));
    s.startWait = StartWait.clamp(readNumber(doc, StartWait));
    s.magnify = Magnify.clamp(readNumber(doc, Magnify));
    return s;
}

bool writeSettings(IniDocument& doc, const Settings& s) {
    using namespace setting_table;
    return doc.setValue(FileSection, UserFileKey, storedPath(s.userFile)) &&
           doc.setValue(FontSection, NameKey, s.faceName) &&
           writeNumber(doc, Charset, s.charset & 0xFF) &&
           writeNumber(doc, AutoClose, s.autoClose ? 1 : 0) &&
           writeNumber(doc, Silent, s.silent ? 1 : 0) && writeNumber(doc, DiceMode, s.diceMode) &&
           writeNumber(doc, Original, s.original) && writeNumber(doc, Wait, s.wait) &&
           writeNumber(doc, StartWait, s.startWait) && writeNumber(doc, Magnify, s.magnify);
}

SettingsLocation currentSettingsLocation() {
    const QString folder = environment().settingsFolder();
    if (!folder.isEmpty())
        return {SettingsLocation::Kind::Named, folder + QStringLiteral("/Quillon.ini")};
    return settingsLocation(currentSettingsLocationInputs());
}

QString settingsFilePath() {
    return currentSettingsLocation().path;
}

} // namespace quillon
