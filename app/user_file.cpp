#include "app/user_file.h"

#include "platform/atomic_file.h"
#include "platform/error.h"

#include <QDir>
#include <QFile>

namespace quillon {

QList<QByteArray> ParseSubtitleLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

QByteArray SerializeSubtitleLines(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

QList<QByteArray> ReadSubtitleFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(formatMessage(QStringLiteral("ファイル %s は開けません"), {QDir::toNativeSeparators(path)}));
    return ParseSubtitleLines(file.readAll());
}

void WriteSubtitleFile(const QString& path, const QList<QByteArray>& lines) {
    switch (saveFileAtomically(path, SerializeSubtitleLines(lines))) {
    case SaveResult::Saved:
        return;
    case SaveResult::CannotCreate:
        throw Exception(formatMessage(QStringLiteral("ファイル %s を作成できません"), {QDir::toNativeSeparators(path)}));
    case SaveResult::WriteError:
        throw Exception(QStringLiteral("ストリームへの書き込みエラー"));
    }
}

} // namespace quillon
