#include "settings/settings_store.h"

#include "platform/text/sjis.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <limits>

namespace quillon {

namespace {

const QByteArray FileSection = "File";
const QByteArray FontSection = "Font";
const QByteArray OptionSection = "Option";
const QByteArray FileUrlPrefix = "file://";

QString& settingsDirectoryOverride() {
    static QString directory;
    return directory;
}

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

int readInt(const IniDocument& doc, const QByteArray& section, const char* key, int keyDefault) {
    const auto text = doc.value(section, key);
    if (!text)
        return keyDefault;
    return parseIniInteger(*text).value_or(keyDefault);
}

} // namespace

QByteArray DefaultFaceName() {
    return sjis::fromUnicode(QStringLiteral("ＭＳ 明朝"));
}

QByteArray cutFaceName(const QByteArray& face) {
    return sjis::cutToCharacters(face, FaceNameLimit);
}

std::optional<int> parseIniInteger(const QByteArray& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseHex(text.mid(2));
    return parseDecimal(text);
}

QByteArray storedPath(const QString& path) {
    const QByteArray text = sjis::fromUnicode(path);
    if (sjis::toUnicode(text) == path && !text.startsWith(FileUrlPrefix))
        return text;
    return FileUrlPrefix + path.toUtf8().toPercentEncoding("/");
}

QString pathOfStored(const QByteArray& value) {
    if (value.startsWith(FileUrlPrefix)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        const QString path =
            utf8.decode(QByteArray::fromPercentEncoding(value.mid(FileUrlPrefix.size())));
        if (!utf8.hasError())
            return path;
    }
    return sjis::toUnicode(value);
}

Settings readSettings(const IniDocument& doc, const Settings& current) {
    const Settings initial;
    Settings s = current;
    s.userFile = pathOfStored(doc.value(FileSection, "UserFile").value_or(QByteArray()));
    const QByteArray face = doc.value(FontSection, "Name").value_or(initial.faceName);
    if (!face.isEmpty())
        s.faceName = cutFaceName(face);
    s.charset = readInt(doc, FontSection, "Charset", 128) & 0xFF;
    s.autoClose = readInt(doc, OptionSection, "AutoClose", 0) != 0;
    s.silent = readInt(doc, OptionSection, "Silent", 0) != 0;
    s.diceMode = DiceModeRange.clamp(readInt(doc, OptionSection, "DiceMode", 1));
    s.original = OriginalRange.clamp(readInt(doc, OptionSection, "Original", 1));
    s.wait = WaitRange.clamp(readInt(doc, OptionSection, "Wait", 70));
    s.startWait = StartWaitRange.clamp(readInt(doc, OptionSection, "StartWait", 1500));
    s.magnify = MagnifyRange.clamp(readInt(doc, OptionSection, "Magnify", 70));
    return s;
}

bool writeSettings(IniDocument& doc, const Settings& s) {
    const auto number = [](int v) { return QByteArray::number(v); };
    return doc.setValue(FileSection, "UserFile", storedPath(s.userFile)) &&
           doc.setValue(FontSection, "Name", s.faceName) &&
           doc.setValue(FontSection, "Charset", number(s.charset & 0xFF)) &&
           doc.setValue(OptionSection, "AutoClose", s.autoClose ? "1" : "0") &&
           doc.setValue(OptionSection, "Silent", s.silent ? "1" : "0") &&
           doc.setValue(OptionSection, "DiceMode", number(s.diceMode)) &&
           doc.setValue(OptionSection, "Original", number(s.original)) &&
           doc.setValue(OptionSection, "Wait", number(s.wait)) &&
           doc.setValue(OptionSection, "StartWait", number(s.startWait)) &&
           doc.setValue(OptionSection, "Magnify", number(s.magnify));
}

QString SettingsFilePath() {
    const QString& dir = settingsDirectoryOverride();
    return (dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir) +
           QStringLiteral("/Quillon.ini");
}

void setSettingsDirectoryForTesting(const QString& directory) {
    settingsDirectoryOverride() = directory;
}

} // namespace quillon
