#include "app/saver/saver_options.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>

namespace quillon {

namespace {

[[noreturn]] void usageError(const QString& pattern, std::initializer_list<QString> args = {}) {
    throw SaverUsageError(formatMessage(pattern, args));
}

// The name of an option without its one or two dashes; empty for anything else.
QString optionName(const QString& argument) {
    if (argument.startsWith(QLatin1String("--")))
        return argument.mid(2);
    if (argument.startsWith(u'-'))
        return argument.mid(1);
    return {};
}

bool isTargetName(const QString& name) {
    return name == QLatin1String("root") || name == QLatin1String("window") ||
           name == QLatin1String("window-id");
}

bool takesValue(const QString& name) {
    return name == QLatin1String("window-id") || name == QLatin1String("file") ||
           name == QLatin1String("linger") || name == QLatin1String("seed") ||
           name == QLatin1String("config") || name == QLatin1String("color") ||
           name == QLatin1String("background");
}

bool isFlag(const QString& name) {
    return name == QLatin1String("root") || name == QLatin1String("window") ||
           name == QLatin1String("sound");
}

uint32_t lingerMs(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]{1,9})(\\.[0-9]{1,3})?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    const double seconds = m.hasMatch() ? (m.captured(1) + m.captured(2)).toDouble() : -1;
    if (seconds < 0 || seconds > MaxLingerSeconds)
        usageError(QCoreApplication::translate("Saver", "--linger は 0 から %d までの秒数です"),
                   {QString::number(MaxLingerSeconds)});
    return static_cast<uint32_t>(std::lround(seconds * 1000));
}

std::optional<uint32_t> seedOf(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    const qulonglong value = digits.match(text).hasMatch() ? text.toULongLong() : 1ull << 32;
    if (value > 0xFFFFFFFFull)
        usageError(
            QCoreApplication::translate("Saver", "--seed は 0 から 4294967295 までの整数です"));
    // 0 is the settings form's "a new order each time".
    return value == 0 ? std::nullopt : std::optional<uint32_t>(uint32_t(value));
}

} // namespace

QString saverUsage() {
    return QCoreApplication::translate(
        "Saver", "使い方: quillon --root | --window-id ID | --window [--file ファイル] "
                 "[--linger 秒] [--seed N] [--sound] [--color RRGGBB] "
                 "[--background RRGGBB|画像]");
}

std::optional<uint32_t> parseWindowId(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(?:0[xX]([0-9a-fA-F]{1,8})|([0-9]{1,10}))\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const qulonglong id =
        m.capturedLength(1) ? m.captured(1).toULongLong(nullptr, 16) : m.captured(2).toULongLong();
    if (id == 0 || id > 0xFFFFFFFFull)
        return std::nullopt;
    return uint32_t(id);
}

bool isSaverCommand(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        const QString first = arguments.first().toUpper();
        if (first == QLatin1String("/S") || first == QLatin1String("/P"))
            return false;
    }
    for (const QString& argument : arguments)
        if (isTargetName(optionName(argument).section(u'=', 0, 0)))
            return true;
    return false;
}

SaverOptions parseSaverArguments(const QStringList& arguments, const QString& xscreensaverWindow) {
    SaverOptions options;
    bool root = false;
    std::optional<uint32_t> windowId;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString name = optionName(argument), value;
        const qsizetype eq = name.indexOf(u'=');
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        const QString shown = argument.section(u'=', 0, 0);
        if (isFlag(name)) {
            if (eq >= 0)
                usageError(QCoreApplication::translate("Saver", "%s に値は付けられません"),
                           {shown});
            // --window is the target when nothing else is named.
            if (name == QLatin1String("root"))
                root = true;
            else if (name == QLatin1String("sound"))
                options.sound = true;
            continue;
        }
        if (!takesValue(name)) {
            if (name.isEmpty())
                usageError(QCoreApplication::translate("Saver", "余分な引数があります: %s"),
                           {argument});
            usageError(QCoreApplication::translate("Saver", "%s というオプションはありません"),
                       {shown});
        }
        if (eq < 0) {
            if (i + 1 >= arguments.size())
                usageError(QCoreApplication::translate("Saver", "%s の値がありません"), {shown});
            value = arguments.at(++i);
        }
        if (name == QLatin1String("window-id")) {
            windowId = parseWindowId(value);
            if (!windowId)
                usageError(QCoreApplication::translate(
                               "Saver", "--window-id の %s はウィンドウの番号ではありません"
                                        " (10進数か、0x で始まる16進数)"),
                           {value});
        } else if (name == QLatin1String("file")) {
            if (value.isEmpty())
                usageError(QCoreApplication::translate("Saver", "--file のファイル名がありません"));
            options.file = value;
        } else if (name == QLatin1String("linger")) {
            options.holdMs = lingerMs(value);
        } else if (name == QLatin1String("seed")) {
            options.seed = seedOf(value);
        } else if (name == QLatin1String("color") || name == QLatin1String("background")) {
            const QString wrong =
                takeStyleOption(QStringLiteral("--") + name, value, options.style);
            if (!wrong.isEmpty())
                throw SaverUsageError(wrong);
        }
        // --config is the settings location's business.
    }
    if (windowId) {
        options.target = SaverOptions::Target::Foreign;
        options.windowId = *windowId;
    } else if (root && !xscreensaverWindow.trimmed().isEmpty()) {
        const std::optional<uint32_t> id = parseWindowId(xscreensaverWindow);
        if (!id)
            usageError(QCoreApplication::translate(
                           "Saver", "XSCREENSAVER_WINDOW の %s はウィンドウの番号ではありません"),
                       {xscreensaverWindow});
        options.target = SaverOptions::Target::Foreign;
        options.windowId = *id;
    } else if (root) {
        options.target = SaverOptions::Target::OwnFullScreen;
    }
    return options;
}

} // namespace quillon
