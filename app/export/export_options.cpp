#include "app/export/export_options.h"

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
        usageError(QStringLiteral("--size は 1920x1080 のように 幅x高さ で指定してください"));
    const int64_t w = m.captured(1).toLongLong();
    const int64_t h = m.captured(2).toLongLong();
    if (w < MinExportSide || h < MinExportSide || w > MaxExportSide || h > MaxExportSide)
        usageError(QStringLiteral("--size の幅と高さは %d から %d までです"),
                   {QString::number(MinExportSide), QString::number(MaxExportSide)});
    return QSize(int(w), int(h));
}

QByteArray lineBytes(const QString& text, int number) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            usageError(QStringLiteral("%d行目に改行や制御文字があります"),
                       {QString::number(number)});
    if (!sjis::isRepresentable(text))
        usageError(QStringLiteral("%d行目に Shift-JIS で表せない文字があります"),
                   {QString::number(number)});
    return sjis::fromUnicode(text);
}

// A pattern's one number: %d, or %05d and the like.
const QRegularExpression& numberInPattern() {
    static const QRegularExpression form(QStringLiteral("%(0?)([1-9]?)d"));
    return form;
}

bool isFrameSequence(const QString& target) {
    if (target.endsWith(u'/') || QFileInfo(target).isDir())
        return true;
    const QString name = QFileInfo(target).fileName();
    return name.contains(numberInPattern()) && name.toLower().endsWith(QLatin1String(".png"));
}

} // namespace

QString exportUsage() {
    return QStringLiteral("使い方: quillon --export ファイル [--size 幅x高さ] [--fps N] [--seed N] "
                          "[--transparent] [--color RRGGBB] [--background RRGGBB|画像] "
                          "[--loop N] 1行目 [2行目]");
}

bool isExportCommand(const QStringList& arguments) {
    return !arguments.isEmpty() &&
           (arguments.first() == ExportSwitch || arguments.first().startsWith(ExportSwitch + '='));
}

ExportFormat exportFormatOf(const QString& file) {
    if (isFrameSequence(file))
        return ExportFormat::PngSequence;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ExportFormat::Png;
    if (suffix == QLatin1String("mp4"))
        return ExportFormat::Mp4;
    if (suffix == QLatin1String("webm"))
        return ExportFormat::WebM;
    if (suffix == QLatin1String("mov"))
        return ExportFormat::Mov;
    if (suffix == QLatin1String("gif"))
        return ExportFormat::Gif;
    if (suffix == QLatin1String("webp"))
        return ExportFormat::WebP;
    usageError(QCoreApplication::translate(
                   "ExportOptions", "%s: 書き出せる形式は .png, .mp4, .webm, .mov, .gif, .webp と、"
                                    "PNG 連番のフォルダ (名前/) か名前の型 (frame-%05d.png) です"),
               {file});
}

void checkExportSize(QSize size, ExportFormat format) {
    if (int64_t(size.width()) * size.height() > MaxExportArea)
        usageError(QStringLiteral("--size が大きすぎます (画素数は 7680x4320 まで)"));
    // 4:2:0 video halves both sides for colour; H.264 wants them whole.
    if (format == ExportFormat::Mp4 && (size.width() % 2 || size.height() % 2))
        usageError(QStringLiteral("H.264 (.mp4) の幅と高さは偶数でなければなりません"));
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
        if (isExportLookFlag(name)) {
            if (eq >= 0)
                usageError(QStringLiteral("%s に値は付けられません"), {name});
            takeExportLook(name, {}, options);
            continue;
        }
        const bool known = name == ExportSwitch || name == QLatin1String("--size") ||
                           name == QLatin1String("--fps") || name == QLatin1String("--seed") ||
                           isExportLookOption(name);
        if (!known)
            usageError(QStringLiteral("%s というオプションはありません"), {name});
        if (eq < 0) {
            if (i + 1 >= arguments.size())
                usageError(QStringLiteral("%s の値がありません"), {name});
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
                usageError(QStringLiteral("--fps は 1 から %d までの整数です"),
                           {QString::number(MaxExportFps)});
            options.fps = int(*fps);
        } else if (isExportLookOption(name)) {
            takeExportLook(name, value, options);
        } else {
            repeated = options.seed.has_value();
            const auto seed = wholeNumber(value, 0, std::numeric_limits<uint32_t>::max());
            if (!seed)
                usageError(QStringLiteral("--seed は 0 から 4294967295 までの整数です"));
            options.seed = uint32_t(*seed);
        }
        if (repeated)
            usageError(QStringLiteral("%s が二度指定されています"), {name});
    }
    if (!haveFile || options.file.isEmpty())
        usageError(QStringLiteral("書き出すファイルが指定されていません"));
    options.format = exportFormatOf(options.file);
    checkExportSize(options.size, options.format);
    checkExportLook(options);
    if (lines.isEmpty())
        usageError(QStringLiteral("1行目が指定されていません"));
    if (lines.size() > 2)
        usageError(QStringLiteral("余分な引数があります: %s"), {lines.at(2)});
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
                "ExportOptions", "--loop は 0 (いつまでも) から 65535 までの整数です"));
        options.loops = int(*loops);
    }
}

bool exportKeepsAlpha(ExportFormat format) {
    return format != ExportFormat::Mp4;
}

void checkExportLook(const ExportOptions& options) {
    if (!options.style.transparent)
        return;
    if (!exportKeepsAlpha(options.format))
        usageError(QCoreApplication::translate(
            "ExportOptions", "--transparent は .mp4 には使えません (H.264 には透明がありません)。"
                             ".webm, .mov, .gif, .webp, .png か PNG 連番にしてください"));
    if (!options.style.picture.isNull() || options.style.background != qRgb(0, 0, 0))
        usageError(QCoreApplication::translate("ExportOptions",
                                               "--transparent と --background は一緒に使えません"));
}

FrameFiles frameFilesOf(const QString& target) {
    const QFileInfo info(target);
    if (target.endsWith(u'/') || info.isDir())
        return FrameFiles{QDir::cleanPath(target), QStringLiteral("frame-%05d.png")};
    return FrameFiles{info.path(), info.fileName()};
}

QString FrameFiles::nameOf(int64_t frame) const {
    const QRegularExpressionMatch m = numberInPattern().match(pattern);
    if (!m.hasMatch())
        return pattern;
    const QChar fill = m.capturedLength(1) ? QLatin1Char('0') : QLatin1Char(' ');
    QString name = pattern;
    return name.replace(m.capturedStart(0), m.capturedLength(0),
                        QStringLiteral("%1").arg(frame, m.captured(2).toInt(), 10, fill));
}

} // namespace quillon
