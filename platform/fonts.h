#pragma once
// The default faces are Windows fonts; substitutions let them resolve to installed
// Japanese fonts while settings keep the name the user chose.
#include <QFont>

namespace quillon {

void registerFontSubstitutions();
// The user-interface font of the program's windows: "ＭＳ Ｐゴシック", 12 pixels.
QFont interfaceFont(int pixelHeight = 12, bool bold = false);

} // namespace quillon
