#include "app/command_line.h"

#include "platform/text/sjis.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <vector>

namespace quillon {

namespace {

[[noreturn]] void refuse(const QString& pattern, std::initializer_list<QString> args = {}) {
    throw UsageError(formatMessage(pattern, args));
}

QString text(const char* source) {
    return QCoreApplication::translate("CommandLine", source);
}

// What a scan gathers on its way, besides the options themselves.
struct Scan {
    CommandLine& line;
    const QString& xscreensaverWindow;
    const QStringList& arguments;
    QString name{};      // the option being read, as it was typed
    QStringList seen{};  // the rows read so far
    QStringList lines{}; // an export's LINE1 and LINE2
    bool root = false;
    std::optional<uint32_t> windowId{};
    bool stop = false; // --help or --version: nothing more is read
};

using Take = void (*)(Scan&, const QString& value);

enum class Twice { LastCounts, Refused };
// How the usage shows an option: a lead stands bare, the options of a choice are joined
// by "|", an optional one is in brackets, a note is a line of its own.
enum class Shown { Lead, Choice, Optional, Note };

struct Row {
    const char* name;  // without its dashes
    const char* value; // the value's name in the usage, translated; nullptr: a flag
    Take take;
    Twice twice = Twice::LastCounts;
    Shown shown = Shown::Optional;
    const char* note = nullptr;    // Shown::Note: what it does
    const char* missing = nullptr; // the message for a value left out, when not the usual
};

struct UsageLine {
    std::vector<Row> rows;
    const char* lead = nullptr;   // after the program's name, before the rows
    const char* tail = nullptr;   // after the rows: the arguments that are not options
    const char* remark = nullptr; // a line of its own below
};

enum class Dashes { Two, OneOrTwo };
// An option the mode does not have: refused, ignored, or refused only with two dashes
// (one dash is the toolkit's, as in -platform).
enum class Unknown { Refused, Ignored, TwoDashesRefused };
// What the arguments that are not options are.
enum class Others { Lines, Refused, Ignored };

struct Mode {
    RunKind kind;
    Dashes dashes;
    Unknown unknown;
    Others others;
    bool helps; // --help and --version are read as well
    std::vector<UsageLine> usage;
    void (*finish)(Scan&) = nullptr;
};

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

void mustHaveValue(const Scan& s, const QString& value) {
    if (value.isEmpty())
        refuse(QCoreApplication::translate("CommandLine", "%s の値がありません"), {s.name});
}

ExportOptions& card(Scan& s) {
    return s.line.exportOptions;
}

ExportList& list(Scan& s) {
    std::optional<ExportList>& list = s.line.exportOptions.list;
    return list ? *list : list.emplace();
}

PageStyle& style(Scan& s) {
    return s.line.mode.kind == RunKind::Export ? s.line.exportOptions.style
                                               : s.line.saverOptions.style;
}

void takeStyle(Scan& s, const QString& option, const QString& value) {
    const QString wrong = takeStyleOption(option, value, style(s));
    if (!wrong.isEmpty())
        throw UsageError(wrong);
}

// The export's and the saver's, alike but for 0, which the saver's settings form means
// as "a new order each time".
void takeSeed(Scan& s, const QString& value) {
    const auto seed = wholeNumber(value, 0, std::numeric_limits<uint32_t>::max());
    if (!seed)
        refuse(QCoreApplication::translate("CommandLine",
                                           "--seed は 0 から 4294967295 までの整数です"));
    if (s.line.mode.kind == RunKind::Export)
        card(s).seed = uint32_t(*seed);
    else
        s.line.saverOptions.seed = *seed ? std::optional<uint32_t>(uint32_t(*seed)) : std::nullopt;
}

void takeConfig(Scan& s, const QString& value) {
    if (value.isEmpty())
        refuse(QStringLiteral("--config needs the path of a settings file"));
    s.line.mode.configFile = value;
}

void takeSize(Scan& s, const QString& value) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,12})[xX×]([0-9]{1,12})$"));
    const QRegularExpressionMatch m = form.match(value);
    if (!m.hasMatch())
        refuse(QCoreApplication::translate(
            "Export", "--size は 1920x1080 のように 幅x高さ で指定してください"));
    const int64_t w = m.captured(1).toLongLong();
    const int64_t h = m.captured(2).toLongLong();
    if (w < MinExportSide || h < MinExportSide || w > MaxExportSide || h > MaxExportSide)
        refuse(QCoreApplication::translate("Export", "--size の幅と高さは %d から %d までです"),
               {QString::number(MinExportSide), QString::number(MaxExportSide)});
    card(s).size = QSize(int(w), int(h));
}

void takeFps(Scan& s, const QString& value) {
    const auto fps = wholeNumber(value, 1, MaxExportFps);
    if (!fps)
        refuse(QCoreApplication::translate("Export", "--fps は 1 から %d までの整数です"),
               {QString::number(MaxExportFps)});
    card(s).fps = int(*fps);
}

void takeLoop(Scan& s, const QString& value) {
    const auto loops = wholeNumber(value, 0, 65535);
    if (!loops)
        refuse(QCoreApplication::translate("Export",
                                           "--loop は 0 (いつまでも) から 65535 までの整数です"));
    card(s).loops = int(*loops);
}

void takeLinger(Scan& s, const QString& value) {
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]{1,9})(\\.[0-9]{1,3})?\\s*$"));
    const QRegularExpressionMatch m = form.match(value);
    const double seconds = m.hasMatch() ? (m.captured(1) + m.captured(2)).toDouble() : -1;
    if (seconds < 0 || seconds > MaxLingerSeconds)
        refuse(QCoreApplication::translate("Saver", "--linger は 0 から %d までの秒数です"),
               {QString::number(MaxLingerSeconds)});
    s.line.saverOptions.holdMs = static_cast<uint32_t>(std::lround(seconds * 1000));
}

void takeWindowId(Scan& s, const QString& value) {
    s.windowId = parseWindowId(value);
    if (!s.windowId)
        refuse(QCoreApplication::translate("Saver",
                                           "--window-id の %s はウィンドウの番号ではありません"
                                           " (10進数か、0x で始まる16進数)"),
               {value});
}

void takeSaverFile(Scan& s, const QString& value) {
    if (value.isEmpty())
        refuse(QCoreApplication::translate("Saver", "--file のファイル名がありません"));
    s.line.saverOptions.file = value;
}

// A line of the card: one line of text that Shift-JIS can hold.
QByteArray lineBytes(const QString& line, int number) {
    for (const QChar c : line)
        if (c.category() == QChar::Other_Control)
            refuse(QCoreApplication::translate("Export", "%d行目に改行や制御文字があります"),
                   {QString::number(number)});
    if (!sjis::isRepresentable(line))
        refuse(QCoreApplication::translate("Export", "%d行目に Shift-JIS で表せない文字があります"),
               {QString::number(number)});
    return sjis::fromUnicode(line);
}

void finishExport(Scan& s) {
    ExportOptions& options = card(s);
    if (!s.seen.contains(QLatin1String("export")) || options.file.isEmpty())
        refuse(QCoreApplication::translate("Export", "書き出すファイルが指定されていません"));
    if (options.list) {
        const ExportList& l = *options.list;
        if (l.catalogue == !l.listFile.isEmpty())
            refuse(l.catalogue
                       ? QCoreApplication::translate("Export",
                                                     "--file と --catalogue は一緒に使えません")
                       : QCoreApplication::translate(
                             "Export", "--format は --file か --catalogue と一緒に使います"));
        if (!s.lines.isEmpty())
            refuse(QCoreApplication::translate(
                       "Export", "一覧を書き出すときは1行目と2行目を指定しません: %s"),
                   {s.lines.first()});
    }
    checkExportFormat(options);
    if (options.list)
        return;
    if (s.lines.isEmpty())
        refuse(QCoreApplication::translate("Export", "1行目が指定されていません"));
    if (s.lines.size() > 2)
        refuse(QCoreApplication::translate("CommandLine", "余分な引数があります: %s"),
               {s.lines.at(2)});
    options.line1 = lineBytes(s.lines.at(0), 1);
    if (s.lines.size() > 1)
        options.line2 = lineBytes(s.lines.at(1), 2);
}

// Windows opens a screen saver's preview with "/p HWND" (some hosts write "/p:HWND")
// each time its settings page is shown, so a window popping up there would be wrong: the
// cards play inside that window instead, without sound as previews are, until it goes.
// Without a usable window /P stays the main window.
void finishSwitch(Scan& s) {
    if (s.line.mode.kind != RunKind::Preview)
        return;
    const QString& first = s.arguments.first();
    const QString window = first.size() > 2 ? first.mid(3) : s.arguments.value(1);
    const std::optional<uint32_t> id = parseWindowId(window);
    if (!id)
        return;
    s.line.mode.kind = RunKind::Saver;
    s.line.saverOptions.target = SaverOptions::Target::Foreign;
    s.line.saverOptions.windowId = *id;
}

// --window-id wins over --root, and --root over --window.
void finishSaver(Scan& s) {
    SaverOptions& options = s.line.saverOptions;
    if (s.windowId) {
        options.target = SaverOptions::Target::Foreign;
        options.windowId = *s.windowId;
    } else if (s.root && !s.xscreensaverWindow.trimmed().isEmpty()) {
        const std::optional<uint32_t> id = parseWindowId(s.xscreensaverWindow);
        if (!id)
            refuse(QCoreApplication::translate(
                       "Saver", "XSCREENSAVER_WINDOW の %s はウィンドウの番号ではありません"),
                   {s.xscreensaverWindow});
        options.target = SaverOptions::Target::Foreign;
        options.windowId = *id;
    } else if (s.root) {
        options.target = SaverOptions::Target::OwnFullScreen;
    }
}

const char* const File = QT_TRANSLATE_NOOP("CommandLine", "ファイル");
const char* const Picture = QT_TRANSLATE_NOOP("CommandLine", "RRGGBB|画像");

const Row Config{"config",
                 File,
                 takeConfig,
                 Twice::LastCounts,
                 Shown::Optional,
                 nullptr,
                 "--config needs the path of a settings file"};
const Row Seed{"seed", "N", takeSeed};
const Row Color{"color", "RRGGBB", [](Scan& s, const QString& v) { takeStyle(s, "--color", v); }};
const Row Background{"background", Picture,
                     [](Scan& s, const QString& v) { takeStyle(s, "--background", v); }};
const Row ExportSize{"size", QT_TRANSLATE_NOOP("CommandLine", "幅x高さ"), takeSize, Twice::Refused};
const Row ExportFps{"fps", "N", takeFps, Twice::Refused};
const Row ExportSeed{"seed", "N", takeSeed, Twice::Refused};
const Row Captions{"captions", nullptr,
                   [](Scan& s, const QString& v) {
                       mustHaveValue(s, v);
                       card(s).captions = v;
                   },
                   Twice::Refused};

Row exportRow(const char* value, Shown shown) {
    return {"export", value, [](Scan& s, const QString& v) { card(s).file = v; }, Twice::Refused,
            shown};
}

Row withValue(Row row, const char* value, Shown shown, const char* note = nullptr) {
    row.value = value;
    row.shown = shown;
    row.note = note;
    return row;
}

// Every way the program is started, in the order of the usage.
const std::vector<Mode>& modes() {
    static const std::vector<Mode> table = {
        {RunKind::Normal,
         Dashes::OneOrTwo,
         Unknown::TwoDashesRefused,
         Others::Ignored,
         true,
         {{{Config}}}},
        // Only the first argument is looked at, in either letter case, and the window
        // that may come with /P; anything else is left alone.
        {RunKind::ScreenSaver,
         Dashes::OneOrTwo,
         Unknown::Ignored,
         Others::Ignored,
         false,
         {{{Config},
           QT_TRANSLATE_NOOP("CommandLine", "/S | /P [ウィンドウ]"),
           nullptr,
           QT_TRANSLATE_NOOP(
               "CommandLine",
               "(/P にウィンドウの番号を付けると、カードはそのウィンドウの中で音なしに流れます)")}},
         finishSwitch},
        // XScreenSaver's conventions: one dash or two.
        {RunKind::Saver,
         Dashes::OneOrTwo,
         Unknown::Refused,
         Others::Refused,
         true,
         {{{
             {"root", nullptr, [](Scan& s, const QString&) { s.root = true; }, Twice::LastCounts,
              Shown::Choice},
             {"window-id", "ID", takeWindowId, Twice::LastCounts, Shown::Choice},
             // The target when nothing else is named.
             {"window", nullptr, [](Scan&, const QString&) {}, Twice::LastCounts, Shown::Choice},
             {"file", File, takeSaverFile},
             {"linger", QT_TRANSLATE_NOOP("CommandLine", "秒"), takeLinger},
             Seed,
             {"sound", nullptr, [](Scan& s, const QString&) { s.line.saverOptions.sound = true; }},
             Color,
             Background,
             Config,
         }}},
         finishSaver},
        {RunKind::Export,
         Dashes::Two,
         Unknown::Refused,
         Others::Lines,
         true,
         {{{exportRow(File, Shown::Lead),
            ExportSize,
            ExportFps,
            ExportSeed,
            {"transparent", nullptr,
             [](Scan& s, const QString&) { card(s).style.transparent = true; }},
            Color,
            Background,
            {"loop", "N", takeLoop}},
           nullptr,
           QT_TRANSLATE_NOOP("CommandLine", "1行目 [2行目]")},
          {{withValue(Captions, QT_TRANSLATE_NOOP("CommandLine", "字幕.vtt|字幕.srt"), Shown::Note,
                      QT_TRANSLATE_NOOP("CommandLine", "動画の横に字幕を書き出します"))}},
          {{exportRow(QT_TRANSLATE_NOOP("CommandLine", "フォルダ/"), Shown::Lead),
            {"file", QT_TRANSLATE_NOOP("CommandLine", "一覧.qln"),
             [](Scan& s, const QString& v) {
                 mustHaveValue(s, v);
                 list(s).listFile = v;
             },
             Twice::Refused, Shown::Choice},
            {"catalogue", nullptr, [](Scan& s, const QString&) { list(s).catalogue = true; },
             Twice::Refused, Shown::Choice},
            {"format", QT_TRANSLATE_NOOP("CommandLine", "拡張子"),
             [](Scan& s, const QString& v) {
                 mustHaveValue(s, v);
                 list(s).extension = v;
             },
             Twice::Refused},
            withValue(Captions, "vtt|srt", Shown::Optional),
            ExportSize,
            ExportFps,
            ExportSeed},
           nullptr,
           nullptr,
           QT_TRANSLATE_NOOP("CommandLine",
                             "(一覧の1行ごとに1枚、001-1行目.拡張子 の名前で書き出します)")}},
         finishExport},
        {RunKind::Help,
         Dashes::OneOrTwo,
         Unknown::Refused,
         Others::Refused,
         false,
         {{{{"help", nullptr,
             [](Scan& s, const QString&) {
                 s.line.mode.kind = RunKind::Help;
                 s.stop = true;
             },
             Twice::LastCounts, Shown::Choice},
            {"version", nullptr,
             [](Scan& s, const QString&) {
                 s.line.mode.kind = RunKind::Version;
                 s.stop = true;
             },
             Twice::LastCounts, Shown::Choice}}},
          // Taken out before the rest is read (takeLanguage), in every use.
          {{{"lang", "ja|en", nullptr, Twice::LastCounts, Shown::Note,
             QT_TRANSLATE_NOOP("CommandLine",
                               "どの使い方でも、ウィンドウとメッセージの言語を選びます")}}}}},
    };
    return table;
}

const Mode& modeOf(RunKind kind) {
    if (kind == RunKind::Preview)
        kind = RunKind::ScreenSaver;
    if (kind == RunKind::Version)
        kind = RunKind::Help;
    for (const Mode& mode : modes())
        if (mode.kind == kind)
            return mode;
    return modes().front();
}

const Row* rowOf(const Mode& mode, const QString& name) {
    for (const UsageLine& line : mode.usage)
        for (const Row& row : line.rows)
            if (name == QLatin1String(row.name) && row.take)
                return &row;
    return nullptr;
}

// The name of an option without its dashes and its "=value"; empty for anything else.
QString optionName(const QString& argument, Dashes dashes) {
    QString name;
    if (argument.startsWith(QLatin1String("--")))
        name = argument.mid(2);
    else if (dashes == Dashes::OneOrTwo && argument.startsWith(u'-'))
        name = argument.mid(1);
    return name.section(u'=', 0, 0);
}

// The first argument decides for /S and /P (also /P:window); otherwise the first argument
// that names a mode's own switch (the lead or the choice its usage begins with).
RunKind kindOf(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        const QString first = arguments.first().toUpper();
        if (first == QLatin1String("/S"))
            return RunKind::ScreenSaver;
        if (first == QLatin1String("/P") || first.startsWith(QLatin1String("/P:")))
            return RunKind::Preview;
    }
    for (const QString& argument : arguments)
        for (const Mode& mode : modes()) {
            const QString name = optionName(argument, mode.dashes);
            for (const Row& row : mode.usage.front().rows)
                if ((row.shown == Shown::Lead || row.shown == Shown::Choice) &&
                    mode.kind != RunKind::Help && name == QLatin1String(row.name))
                    return mode.kind;
        }
    return RunKind::Normal;
}

// The ways of starting, by their switches, that take an option the run's mode does not.
QStringList switchesTaking(const QString& name) {
    QStringList switches;
    for (const Mode& mode : modes())
        if (rowOf(mode, name) && mode.kind != RunKind::Help)
            for (const Row& row : mode.usage.front().rows)
                if (row.shown == Shown::Lead || row.shown == Shown::Choice)
                    switches << QStringLiteral("--") + QLatin1String(row.name);
    return switches;
}

void refuseUnknown(const Mode& mode, const Scan& s, bool twoDashes) {
    if (mode.unknown == Unknown::Ignored ||
        (mode.unknown == Unknown::TwoDashesRefused && !twoDashes))
        return;
    const QStringList elsewhere = switchesTaking(optionName(s.name, mode.dashes));
    if (mode.unknown == Unknown::TwoDashesRefused && !elsewhere.isEmpty())
        refuse(QCoreApplication::translate("CommandLine", "%s は %s と一緒に使います"),
               {s.name, elsewhere.join(QStringLiteral(" | "))});
    refuse(QCoreApplication::translate("CommandLine", "%s というオプションはありません"), {s.name});
}

void scan(const Mode& mode, const QStringList& arguments, Scan& s) {
    bool ended = false;
    for (qsizetype i = 0; i < arguments.size() && !s.stop; ++i) {
        const QString& argument = arguments.at(i);
        if (mode.others == Others::Lines && !ended && argument == QLatin1String("--")) {
            ended = true;
            continue;
        }
        const bool twoDashes = argument.startsWith(QLatin1String("--")) && argument.size() > 2;
        const bool oneDash = mode.dashes == Dashes::OneOrTwo && !twoDashes &&
                             argument.startsWith(u'-') && argument.size() > 1 &&
                             argument != QLatin1String("--");
        if (ended || (!twoDashes && !oneDash)) {
            if (mode.others == Others::Lines)
                s.lines << argument;
            else if (mode.others == Others::Refused)
                refuse(QCoreApplication::translate("CommandLine", "余分な引数があります: %s"),
                       {argument});
            continue;
        }
        const qsizetype eq = argument.indexOf(u'=');
        s.name = argument.left(eq);
        const QString name = optionName(argument, mode.dashes);
        const Row* row = rowOf(mode, name);
        if (!row && mode.helps)
            row = rowOf(modeOf(RunKind::Help), name);
        if (!row) {
            refuseUnknown(mode, s, twoDashes);
            continue;
        }
        QString value;
        if (!row->value) {
            if (eq >= 0)
                refuse(QCoreApplication::translate("CommandLine", "%s に値は付けられません"),
                       {s.name});
        } else if (eq >= 0) {
            value = argument.mid(eq + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            refuse(row->missing ? QString::fromUtf8(row->missing)
                                : QCoreApplication::translate("CommandLine", "%s の値がありません"),
                   {s.name});
        }
        row->take(s, value);
        if (s.seen.contains(name) && row->twice == Twice::Refused)
            refuse(QCoreApplication::translate("CommandLine", "%s が二度指定されています"),
                   {s.name});
        s.seen << name;
    }
}

QString shown(const Row& row) {
    QString words = QStringLiteral("--") + QLatin1String(row.name);
    if (row.value)
        words += u' ' + text(row.value);
    return words;
}

QString shown(const UsageLine& line) {
    if (line.rows.size() == 1 && line.rows.front().shown == Shown::Note)
        return shown(line.rows.front()) + QStringLiteral(": ") + text(line.rows.front().note);
    QStringList words{QStringLiteral("quillon")};
    if (line.lead)
        words << text(line.lead);
    QStringList choice;
    // A choice after other words is put in parentheses.
    const auto endChoice = [&words, &choice] {
        if (choice.isEmpty())
            return;
        const QString joined = choice.join(QStringLiteral(" | "));
        words << (words.size() > 1 ? u'(' + joined + u')' : joined);
        choice.clear();
    };
    for (const Row& row : line.rows) {
        if (row.shown == Shown::Choice) {
            choice << shown(row);
            continue;
        }
        endChoice();
        words << (row.shown == Shown::Optional ? u'[' + shown(row) + u']' : shown(row));
    }
    endChoice();
    if (line.tail)
        words << text(line.tail);
    return words.join(u' ');
}

} // namespace

std::optional<UiLanguage> takeLanguage(QStringList& arguments) {
    std::optional<UiLanguage> language;
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString value;
        if (argument == QLatin1String("--lang"))
            value = i + 1 < arguments.size() ? arguments.at(++i) : QString();
        else if (argument.startsWith(QLatin1String("--lang=")))
            value = argument.mid(7);
        else {
            kept << argument;
            continue;
        }
        language = languageNamed(value);
        if (!language)
            refuse(QStringLiteral("--lang takes ja or en"));
    }
    arguments = kept;
    return language;
}

CommandLine readCommandLine(const QStringList& arguments, const QString& xscreensaverWindow) {
    CommandLine line;
    line.mode.kind = kindOf(arguments);
    Scan s{line, xscreensaverWindow, arguments};
    const Mode& mode = modeOf(line.mode.kind);
    try {
        scan(mode, arguments, s);
        if (!s.stop && mode.finish)
            mode.finish(s);
    } catch (const UsageError& error) {
        line.problem = error.message();
    }
    return line;
}

QString usage(RunKind kind) {
    const bool one = kind == RunKind::Export || kind == RunKind::Saver;
    QStringList lines;
    for (const Mode& mode : modes()) {
        if (one && mode.kind != kind)
            continue;
        for (const UsageLine& line : mode.usage) {
            lines << shown(line);
            if (line.remark)
                lines << text(line.remark);
        }
    }
    return QCoreApplication::translate("CommandLine", "使い方: ") +
           lines.join(QStringLiteral("\n       "));
}

std::optional<int> answerCommandLine(const CommandLine& line, FILE* out, FILE* err) {
    if (line.problem) {
        std::fprintf(err, "quillon: %s\n%s\n", qPrintable(*line.problem),
                     qPrintable(usage(line.mode.kind)));
        return 2;
    }
    if (line.mode.kind == RunKind::Help) {
        std::fprintf(out, "%s\n", qPrintable(usage()));
        return 0;
    }
    if (line.mode.kind == RunKind::Version) {
        std::fprintf(out, "quillon %s\n", QUILLON_VERSION);
        return 0;
    }
    return std::nullopt;
}

QStringList acceptedOptions(RunKind kind) {
    QStringList names;
    for (const Mode& mode : modes()) {
        if (kind != RunKind::Help && &mode != &modeOf(kind) &&
            !(mode.kind == RunKind::Help && modeOf(kind).helps))
            continue;
        for (const UsageLine& line : mode.usage)
            for (const Row& row : line.rows)
                if (!names.contains(QStringLiteral("--") + QLatin1String(row.name)))
                    names << QStringLiteral("--") + QLatin1String(row.name);
    }
    return names;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace quillon
