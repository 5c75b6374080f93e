#include "subtitles/user_file.h"

#include "platform/core/atomic_file.h"
#include "platform/core/error.h"
#include "platform/text/text_lines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace quillon {

QList<QByteArray> ParseSubtitleLines(const QByteArray& bytes) {
    return SplitLines(bytes);
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
        throw Exception(
            formatMessage(QCoreApplication::translate("Errors", "ファイル %s は開けません"),
                          {QDir::toNativeSeparators(path)}));
    return ParseSubtitleLines(file.readAll());
}

void WriteSubtitleFile(const QString& path, const QList<QByteArray>& lines) {
    switch (saveFileAtomically(path, SerializeSubtitleLines(lines))) {
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
