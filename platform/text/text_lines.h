#pragma once
// Lines of a text file as bytes: a line ends at CR, at LF or at CR LF; a last line
// without a line end counts; a line end at the very end adds no empty line.
#include <QByteArray>
#include <QList>

namespace quillon {

QList<QByteArray> splitLines(const QByteArray& bytes);

} // namespace quillon
