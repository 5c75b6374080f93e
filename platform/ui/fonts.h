#pragma once
// The default faces are Windows fonts; substitutions let them resolve to installed
// Japanese fonts while settings keep the name the user chose.
#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

namespace quillon {

void registerFontSubstitutions();
// The installed family that a face name resolves to, through the substitutions, under
// the name the font database (and so the font chooser) lists it by.
QString installedFamily(const QString& face);
// The user-interface font of the program's windows: "ＭＳ Ｐゴシック", 12 pixels.
QFont interfaceFont(int pixelHeight = 12, bool bold = false);

// An ordinary window of the program: a window of its own with only the system menu
// and the close box, a fixed client size, the program's icon and the interface font.
void setUpFixedWindow(QWidget& window, QSize clientSize, const QFont& font = interfaceFont());

} // namespace quillon
