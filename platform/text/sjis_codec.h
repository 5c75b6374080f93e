#pragma once
// The conversion between code page 932 and Unicode as the system offers it; the rest of
// the Shift-JIS handling (the JIS forms, one character at a time) is the same everywhere.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace quillon::sjis {

// The bytes of text; nothing when a character of it has no code page 932 form (a lone
// surrogate included).
std::optional<QByteArray> encodeCp932(QStringView text);
QString decodeCp932(QByteArrayView bytes);

} // namespace quillon::sjis
