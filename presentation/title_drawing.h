#pragma once
// What the title card puts on the screen: one character alone, or the finished card.
#include "presentation/live_settings.h"

#include <QByteArray>

namespace quillon {

class FlipPages;

// Blanks both pages and shows the character alone, centred, its cell
// trunc(magnify / 100 × H) high. The caller has checked ReadyToDraw.
void drawCharacter(FlipPages& pages, const QByteArray& ch, int magnify, const DisplayFont& font);

// Draws that character ahead, off the pages, so that drawCharacter only copies it; nothing
// on the screen changes.
void prepareCharacter(FlipPages& pages, const QByteArray& ch, int magnify, const DisplayFont& font);

// Draws the finished card: line 1 flush left and line 2 flush right, lower; a single line
// centred; sized so the wider padded line spans the width, at most a third of the height.
void drawCard(FlipPages& pages, const QByteArray& line1, const QByteArray& line2,
              const DisplayFont& font);

} // namespace quillon
