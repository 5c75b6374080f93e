#include "subtitles/user_file.h"

#include "platform/core/atomic_file.h"
#include "platform/core/error.h"
#include "platform/text/text_lines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace quillon {

namespace {

// One line of bytes from start: its end, and where the next line begins (after a CR, an
// LF, or a CR LF). A CR that is the last byte is a line end of its own.
struct LineAt {
    qsizetype end;
    qsizetype next;
};

LineAt lineAt(QByteArrayView bytes, qsizetype start) {
    const qsizetype n = bytes.size();
    qsizetype end = start;
    while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    if (end == n)
        return {n, n};
    const bool crLf = bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n';
    return {end, end + (crLf ? 2 : 1)};
}

qsizetype offsetAfterLines(QByteArrayView bytes, int lines) {
    qsizetype start = 0;
    for (int i = 0; i < lines && start < bytes.size(); ++i)
        start = lineAt(bytes, start).next;
    return start;
}

Exception cannotOpen(const QString& path) {
    return Exception(
        formatMessage(QCoreApplication::translate("Errors", "ファイル %s は開けません"),
                      {QDir::toNativeSeparators(path)}));
}

// The bytes after the file's first lines, as the file is now.
QByteArray restOfFile(const QString& path, int afterLines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(path);
    const QByteArray bytes = file.readAll();
    return bytes.mid(offsetAfterLines(bytes, afterLines));
}

} // namespace

QList<QByteArray> parseSubtitleLines(const QByteArray& bytes) {
    return splitLines(bytes);
}

QByteArray serializeSubtitleLines(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

UserFileContents parseUserFile(QByteArray bytes) {
    std::vector<SubtitleItems::Span> spans;
    qsizetype start = 0;
    UserFileStop stop = UserFileStop::None;
    while (start < bytes.size()) {
        const LineAt line = lineAt(bytes, start);
        // Past the byte bound only whole lines before it count: a line that reaches it
        // may go on, and a CR there may be the first half of a CR LF. A line already too
        // long where the read stopped is too long wherever it ends.
        if (static_cast<int>(spans.size()) == UserFileItemBound)
            stop = UserFileStop::ManyLines;
        else if (line.end - start > UserLineByteBound)
            stop = UserFileStop::LongLine;
        else if (line.next > UserFileByteBound)
            stop = UserFileStop::ManyBytes;
        if (stop != UserFileStop::None)
            break;
        spans.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(line.end - start)});
        start = line.next;
    }
    if (stop != UserFileStop::None) {
        bytes.truncate(start);
        bytes.squeeze();
    }
    return {SubtitleItems(std::move(bytes), std::move(spans)), stop == UserFileStop::None, stop};
}

UserFileContents readSubtitleFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(path);
    // One byte past the bound tells a file that goes on from one that ends there.
    if (file.size() > UserFileByteBound)
        return parseUserFile(file.read(UserFileByteBound + 1));
    return parseUserFile(file.readAll());
}

void writeSubtitleFile(const QString& path, const SubtitleItems& items,
                       std::optional<int> restAfter, const std::optional<QByteArray>& appended) {
    QByteArray bytes = items.serialized();
    if (restAfter)
        bytes += restOfFile(path, *restAfter);
    if (appended) {
        // The file's last line may lack its line end, and would run into the new one.
        if (!bytes.isEmpty() && !bytes.endsWith('\r') && !bytes.endsWith('\n'))
            bytes += "\r\n";
        bytes += *appended + "\r\n";
    }
    switch (saveFileAtomically(path, bytes)) {
    case SaveResult::Saved:
        return;
    case SaveResult::CannotCreate:
        throw Exception(
            formatMessage(QCoreApplication::translate("Errors", "ファイル %s を作成できません"),
                          {QDir::toNativeSeparators(path)}));
    case SaveResult::WriteError:
        throw Exception(QCoreApplication::translate("Errors", "ストリームへの書き込みエラー"));
    }
}

} // namespace quillon
