#pragma once
// Putting a page on the screen: scaled with its aspect ratio kept, black around it.
#include <QImage>
#include <QRect>

class QPainter;

namespace quillon {

void PaintPage(QPainter& painter, const QRect& target, const QImage& page);

} // namespace quillon
