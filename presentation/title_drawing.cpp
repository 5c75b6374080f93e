// Placeholder until the layout lands.
#include "presentation/title_drawing.h"

#include "platform/dxdraw.h"

namespace quillon {

void DrawCharacter(TDXDraw& draw, const QByteArray&, int, const DisplayFont&) { draw.Flip(); }
void DrawCard(TDXDraw& draw, const QByteArray&, const QByteArray&, const DisplayFont&) { draw.Flip(); }

} // namespace quillon
