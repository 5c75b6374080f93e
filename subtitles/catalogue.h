#pragma once
// The built-in catalogue: three series of episode titles in the subtitle item form.
#include <QByteArray>
#include <QList>

namespace quillon {

// Titles of series 1, 2 or 3 ("Part I", "Part II", "Part III") as Shift-JIS items, in
// their fixed order; empty for any other number.
const QList<QByteArray>& catalogueTitles(int series);

// The catalogue list for an Original setting: 0, 1, 2 one series; any other value all
// three, in their order.
QList<QByteArray> catalogueRange(int original);

} // namespace quillon
