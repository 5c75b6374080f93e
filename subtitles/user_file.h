#pragma once
// The user subtitle file (.qln): Shift-JIS lines in the subtitle item form, CR LF after
// every line as written; CR, LF or CR LF as read.
#include <QByteArray>
#include <QList>
#include <QString>

namespace quillon {

// Splits file bytes into lines. A CR directly followed by LF is one line end; a last
// line without a line end counts; a line end at the very end adds no empty line.
// Bytes are kept as they are, NUL included, so that a rewrite loses nothing.
QList<QByteArray> ParseSubtitleLines(const QByteArray& bytes);
// Every line followed by CR LF.
QByteArray SerializeSubtitleLines(const QList<QByteArray>& lines);

// Reads the whole file. Raises "ファイル %s は開けません" when it exists but cannot be read.
QList<QByteArray> ReadSubtitleFile(const QString& path);
// Replaces the file atomically. Raises "ファイル %s を作成できません" when it cannot be
// created or replaced, "ストリームへの書き込みエラー" when writing stops short; the old
// file is then intact.
void WriteSubtitleFile(const QString& path, const QList<QByteArray>& lines);

} // namespace quillon
