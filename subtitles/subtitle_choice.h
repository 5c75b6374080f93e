#pragma once
// Turning a list item into the card's two lines, and the random choice by DiceMode: the
// rules the main window's die and Run button follow, and the screen saver too.
#include "subtitles/subtitle_items.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

namespace quillon {

class Random;

struct SubtitleLines {
    QByteArray line1;
    QByteArray line2;
    bool operator==(const SubtitleLines&) const = default;
};

// Items read back through a 4096-byte buffer: longer items are not readable.
constexpr int ItemBufferSize = 4096;

// A list item is text up to its first NUL, as a list of C strings would hold it. (The
// bytes after it stay with the list, so that rewriting the file loses nothing.)
QByteArrayView itemTextPart(QByteArrayView item);

// The item's text as the lines take it: its bytes up to the first NUL; empty for an index
// that does not exist or a text too long for the buffer.
QByteArray itemText(const SubtitleItems& items, int index);

// Line 1 up to the first half-width space and line 2 after it. When line 1 comes out
// empty, the whole item is line 1 and line 2 is empty. heldEmpty tells whether line 1 is
// empty once put where it goes (a text field may not keep every byte); by default,
// whether its bytes are.
SubtitleLines itemToLines(const QByteArray& item,
                          const std::function<bool(const QByteArray&)>& heldEmpty = {});

// Which list a random choice takes, and which of its items.
struct RandomItem {
    int list;  // 1: the catalogue; 2: the user's list
    int index; // may name no item when that list is empty
};

// DiceMode 0: a draw from 0 to 1 takes the catalogue on 1, the user's list on 0; 1: the
// catalogue; any other value: the user's list. Then a draw of the index over that list's
// size.
RandomItem drawRandomItem(Random& random, int diceMode, int catalogueCount, int userCount);

// The whole random choice over two lists of items.
SubtitleLines randomSubtitle(Random& random, int diceMode, const SubtitleItems& catalogue,
                             const SubtitleItems& user);

} // namespace quillon
