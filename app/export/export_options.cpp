#include "app/export/export_options.h"

#include "app/export/captions.h"
#include "platform/text/sjis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <limits>

namespace quillon {

namespace {

const QString ExportSwitch = QStringLiteral("--export");

[[noreturn]] void usageError(const QString& pattern, std::initializer_list<QString> args = {}) {
    throw ExportUsageError(formatMessage(pattern, args));
}

// A whole number from lo to hi, or nothing.
std::optional<int64_t> wholeNumber(const QString& text, int64_t lo, int64_t hi) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,12}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int64_t value = text.toLongLong();
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

QSize parseSize(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,12})[xX×]([0-9]{1,12})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        usageError(QCoreApplication::translate(
            "Export", "--size は 1920x1080 のように 幅x高さ で指定してください"));
    const int64_t w = m.captured(1).toLongLong();
    const int64_t h = m.captured(2).toLongLong();
    if (w < MinExportSide || h < MinExportSide || w > MaxExportSide || h > MaxExportSide)
        usageError(QCoreApplication::translate("Export", "--size の幅と高さは %d から %d までです"),
                   {QString::number(MinExportSide), QString::number(MaxExportSide)});
    return QSize(int(w), int(h));
}

QByteArray lineBytes(const QString& text, int number) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            usageError(QCoreApplication::translate("Export", "%d行目に改行や制御文字があります"),
                       {QString::number(number)});
    if (!sjis::isRepresentable(text))
        usageError(
            QCoreApplication::translate("Export", "%d行目に Shift-JIS で表せない文字があります"),
            {QString::number(number)});
    return sjis::fromUnicode(text);
}

// --captions, --file, --catalogue and --format, which are not about the card itself.
// value is the text after "=", if any; a value of its own is taken from arguments.
// False when name is none of them.
bool takeCaptionOrListOption(const QString& name, const std::optional<QString>& inlineValue,
                             const QStringList& arguments, qsizetype& i, ExportOptions& options) {
    const bool flag = name == QLatin1String("--catalogue");
    if (!flag && name != QLatin1String("--captions") && name != QLatin1String("--file") &&
        name != QLatin1String("--format"))
        return false;
    QString value;
    if (flag) {
        if (inlineValue)
            usageError(QCoreApplication::translate("Export", "%s に値は付けられません"), {name});
    } else if (inlineValue) {
        value = *inlineValue;
    } else if (i + 1 < arguments.size()) {
        value = arguments.at(++i);
    } else {
        usageError(QCoreApplication::translate("Export", "%s の値がありません"), {name});
    }
    if (!flag && value.isEmpty())
        usageError(QCoreApplication::translate("Export", "%s の値がありません"), {name});
    if (name == QLatin1String("--captions")) {
        if (!std::exchange(options.captions, value).isEmpty())
            usageError(QCoreApplication::translate("Export", "%s が二度指定されています"), {name});
        return true;
    }
    ExportList& list = options.list ? *options.list : options.list.emplace();
    bool repeated = false;
    if (flag)
        repeated = std::exchange(list.catalogue, true);
    else if (name == QLatin1String("--file"))
        repeated = !std::exchange(list.listFile, value).isEmpty();
    else
        repeated = !std::exchange(list.extension, value).isEmpty();
    if (repeated)
        usageError(QCoreApplication::translate("Export", "%s が二度指定されています"), {name});
    return true;
}

// The extension of every card of a list, and its format.
void checkListFormat(ExportOptions& options) {
    QString& extension = options.list->extension;
    if (extension.startsWith(QLatin1Char('.')))
        extension.remove(0, 1);
    extension = extension.isEmpty() ? QStringLiteral("mp4") : extension.toLower();
    const QString probe = QStringLiteral("card.") + extension;
    try {
        options.format = exportFormatOf(probe);
    } catch (const ExportUsageError& error) {
        QString message = error.message();
        throw ExportUsageError(message.replace(probe, QStringLiteral("--format ") + extension));
    }
}

// A still has no moments for cues to begin and end.
[[noreturn]] void refuseCaptionsOnStill() {
    usageError(QCoreApplication::translate(
        "Export", "静止画 (.png) に字幕は付けられません: --captions は動画に使います"));
}

// Checks what the card's own options cannot: captions and a list. True for a list,
// whose options are then complete.
bool finishCaptionAndListOptions(ExportOptions& options, const QStringList& lines) {
    if (!options.list) {
        if (options.captions.isEmpty())
            return false;
        captionFormatOf(options.captions);
        if (!exportFormatRow(exportFormatOf(options.file)).captions)
            refuseCaptionsOnStill();
        return false;
    }
    ExportList& list = *options.list;
    if (list.catalogue == !list.listFile.isEmpty())
        usageError(
            list.catalogue
                ? QCoreApplication::translate("Export", "--file と --catalogue は一緒に使えません")
                : QCoreApplication::translate(
                      "Export", "--format は --file か --catalogue と一緒に使います"));
    if (!lines.isEmpty())
        usageError(QCoreApplication::translate(
                       "Export", "一覧を書き出すときは1行目と2行目を指定しません: %s"),
                   {lines.first()});
    checkListFormat(options);
    checkExportSize(options.size, options.format);
    if (!options.captions.isEmpty()) {
        options.captions = options.captions.toLower();
        if (options.captions.startsWith(QLatin1Char('.')))
            options.captions.remove(0, 1);
        captionFormatOf(QStringLiteral("card.") + options.captions);
        if (!exportFormatRow(options.format).captions)
            refuseCaptionsOnStill();
    }
    return true;
}

// The usage of captions and of a whole list, below the card's own.
QString captionAndListUsage() {
    return QCoreApplication::translate(
        "Export", "\n       --captions 字幕.vtt|字幕.srt: 動画の横に字幕を書き出します"
                  "\n       quillon --export フォルダ/ (--file 一覧.qln | --catalogue) "
                  "[--format 拡張子] [--captions vtt|srt] [--size 幅x高さ] [--fps N] [--seed N]"
                  "\n       (一覧の1行ごとに1枚、001-1行目.拡張子 の名前で書き出します)");
}

} // namespace

QString exportUsage() {
    return QCoreApplication::translate(
               "Export", "使い方: quillon --export ファイル [--size 幅x高さ] [--fps N] [--seed N] "
                         "[--transparent] [--color RRGGBB] [--background RRGGBB|画像] "
                         "[--loop N] 1行目 [2行目]") +
           captionAndListUsage();
}

bool isExportCommand(const QStringList& arguments) {
    return !arguments.isEmpty() &&
           (arguments.first() == ExportSwitch || arguments.first().startsWith(ExportSwitch + '='));
}

ExportOptions parseExportArguments(const QStringList& arguments) {
    ExportOptions options;
    bool haveFile = false, haveSize = false, haveFps = false, optionsEnded = false;
    QStringList lines;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            if (!optionsEnded && arg == QLatin1String("--"))
                optionsEnded = true;
            else
                lines << arg;
            continue;
        }
        QString name = arg, value;
        const qsizetype eq = arg.indexOf('=');
        if (eq >= 0) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
        }
        if (takeCaptionOrListOption(name, eq >= 0 ? std::optional(value) : std::nullopt, arguments,
                                    i, options))
            continue;
        if (isExportLookFlag(name)) {
            if (eq >= 0)
                usageError(QCoreApplication::translate("Export", "%s に値は付けられません"),
                           {name});
            takeExportLook(name, {}, options);
            continue;
        }
        const bool known = name == ExportSwitch || name == QLatin1String("--size") ||
                           name == QLatin1String("--fps") || name == QLatin1String("--seed") ||
                           isExportLookOption(name);
        if (!known)
            usageError(QCoreApplication::translate("Export", "%s というオプションはありません"),
                       {name});
        if (eq < 0) {
            if (i + 1 >= arguments.size())
                usageError(QCoreApplication::translate("Export", "%s の値がありません"), {name});
            value = arguments.at(++i);
        }
        bool repeated = false;
        if (name == ExportSwitch) {
            repeated = std::exchange(haveFile, true);
            options.file = value;
        } else if (name == QLatin1String("--size")) {
            repeated = std::exchange(haveSize, true);
            options.size = parseSize(value);
        } else if (name == QLatin1String("--fps")) {
            repeated = std::exchange(haveFps, true);
            const auto fps = wholeNumber(value, 1, MaxExportFps);
            if (!fps)
                usageError(
                    QCoreApplication::translate("Export", "--fps は 1 から %d までの整数です"),
                    {QString::number(MaxExportFps)});
            options.fps = int(*fps);
        } else if (isExportLookOption(name)) {
            takeExportLook(name, value, options);
        } else {
            repeated = options.seed.has_value();
            const auto seed = wholeNumber(value, 0, std::numeric_limits<uint32_t>::max());
            if (!seed)
                usageError(QCoreApplication::translate(
                    "Export", "--seed は 0 から 4294967295 までの整数です"));
            options.seed = uint32_t(*seed);
        }
        if (repeated)
            usageError(QCoreApplication::translate("Export", "%s が二度指定されています"), {name});
    }
    if (!haveFile || options.file.isEmpty())
        usageError(QCoreApplication::translate("Export", "書き出すファイルが指定されていません"));
    if (finishCaptionAndListOptions(options, lines))
        return options;
    options.format = exportFormatOf(options.file);
    checkExportSize(options.size, options.format);
    checkExportLook(options);
    if (lines.isEmpty())
        usageError(QCoreApplication::translate("Export", "1行目が指定されていません"));
    if (lines.size() > 2)
        usageError(QCoreApplication::translate("Export", "余分な引数があります: %s"),
                   {lines.at(2)});
    options.line1 = lineBytes(lines.at(0), 1);
    if (lines.size() > 1)
        options.line2 = lineBytes(lines.at(1), 2);
    return options;
}

// The look of the file, kept apart from the card's own options.

bool isExportLookFlag(const QString& name) {
    return name == QLatin1String("--transparent");
}

bool isExportLookOption(const QString& name) {
    return name == QLatin1String("--color") || name == QLatin1String("--background") ||
           name == QLatin1String("--loop");
}

void takeExportLook(const QString& name, const QString& value, ExportOptions& options) {
    if (name == QLatin1String("--transparent")) {
        options.style.transparent = true;
    } else if (name == QLatin1String("--color") || name == QLatin1String("--background")) {
        const QString wrong = takeStyleOption(name, value, options.style);
        if (!wrong.isEmpty())
            throw ExportUsageError(wrong);
    } else if (name == QLatin1String("--loop")) {
        const auto loops = wholeNumber(value, 0, 65535);
        if (!loops)
            usageError(QCoreApplication::translate(
                "Export", "--loop は 0 (いつまでも) から 65535 までの整数です"));
        options.loops = int(*loops);
    }
}

void checkExportLook(const ExportOptions& options) {
    if (!options.style.transparent)
        return;
    if (!exportKeepsAlpha(options.format))
        usageError(
            QCoreApplication::translate("Export", exportFormatRow(options.format).noAlphaMessage));
    if (!options.style.picture.isNull() || options.style.background != qRgb(0, 0, 0))
        usageError(QCoreApplication::translate("Export",
                                               "--transparent と --background は一緒に使えません"));
}

} // namespace quillon
