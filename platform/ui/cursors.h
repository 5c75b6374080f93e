#pragma once
// The application's cursor table: cursors loaded from the program's resources and
// registered by number.
#include <QCursor>
#include <QString>

namespace quillon {

// Loads a cursor resource (":/cursors/<name>.png", hot spot given) and registers it.
// A resource that cannot be loaded leaves the number unregistered.
void registerCursor(int number, const QString& resourceName, int hotX, int hotY);
// The registered cursor, or the standard arrow for an unregistered number.
QCursor programCursor(int number);
bool isCursorRegistered(int number);

} // namespace quillon
