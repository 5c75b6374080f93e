#include "platform/ui/cursors.h"

#include <QPixmap>
#include <map>

namespace quillon {

namespace {
std::map<int, QCursor>& table() {
    static std::map<int, QCursor> cursors;
    return cursors;
}
} // namespace

void registerCursor(int number, const QString& resourceName, int hotX, int hotY) {
    QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(resourceName));
    if (picture.isNull())
        return;
    table()[number] = QCursor(picture, hotX, hotY);
}

QCursor programCursor(int number) {
    auto it = table().find(number);
    return it == table().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

bool isCursorRegistered(int number) {
    return table().count(number) != 0;
}

} // namespace quillon
