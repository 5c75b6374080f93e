#pragma once
// The user subtitle file (.qln): Shift-JIS lines in the subtitle item form, CR LF after
// every line as written; CR, LF or CR LF as read.
#include "subtitles/subtitle_items.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace quillon {

// Splits file bytes into lines. A CR directly followed by LF is one line end; a last
// line without a line end counts; a line end at the very end adds no empty line.
// Bytes are kept as they are, NUL included, so that a rewrite loses nothing.
QList<QByteArray> parseSubtitleLines(const QByteArray& bytes);
// Every line followed by CR LF.
QByteArray serializeSubtitleLines(const QList<QByteArray>& lines);

// How much of a file the list holds: a file past any of these is held up to the last
// whole line before the bound, and the rest stays in the file, unread.
constexpr qsizetype UserFileByteBound = 16 * 1024 * 1024;
constexpr qsizetype UserLineByteBound = 4096;
constexpr int UserFileItemBound = 1'000'000;

// Which bound, if any, ended the reading.
enum class UserFileStop {
    None,
    LongLine,  // the next line is longer than UserLineByteBound
    ManyLines, // the file has more than UserFileItemBound lines
    ManyBytes, // the next line ends past UserFileByteBound
};

struct UserFileContents {
    // The file's lines as items, the same as ParseSubtitleLines gives, up to the bounds.
    SubtitleItems items;
    // False when the file goes on past the bounds, after its first items.size() lines.
    bool complete = true;
    UserFileStop stop = UserFileStop::None;
};

// The lines of bytes, held in those bytes, as far as the bounds allow.
UserFileContents parseUserFile(QByteArray bytes);

// Reads the file, no more of it than the bounds allow. Raises "ファイル %s は開けません"
// when it exists but cannot be read.
UserFileContents readSubtitleFile(const QString& path);
// Replaces the file atomically with the items, each followed by CR LF. With restAfter,
// the file's lines after its first restAfter ones (the part a bounded read left unread)
// follow the items unchanged, and then the appended line, so that it is the file's last.
// Raises "ファイル %s を作成できません" when the file cannot
// be created or replaced, "ストリームへの書き込みエラー" when writing stops short, and
// "ファイル %s は開けません" when the rest cannot be read; the old file is then intact.
void writeSubtitleFile(const QString& path, const SubtitleItems& items,
                       std::optional<int> restAfter = std::nullopt,
                       const std::optional<QByteArray>& appended = std::nullopt);

} // namespace quillon
