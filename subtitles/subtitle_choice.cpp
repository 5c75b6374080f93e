#include "subtitles/subtitle_choice.h"

#include "platform/core/random.h"

#include <algorithm>

namespace quillon {

QByteArrayView itemTextPart(QByteArrayView item) {
    const qsizetype nul = item.indexOf('\0');
    return nul < 0 ? item : item.first(nul);
}

QByteArray itemText(const SubtitleItems& items, int index) {
    const QByteArrayView text = itemTextPart(items.view(index));
    return text.size() >= ItemBufferSize ? QByteArray() : text.toByteArray();
}

SubtitleLines itemToLines(const QByteArray& item,
                          const std::function<bool(const QByteArray&)>& heldEmpty) {
    const qsizetype p = item.indexOf(' ') + 1; // 1-based, 0 when there is none
    const QByteArray line1 = p > 1 ? item.left(p - 1) : QByteArray();
    const bool empty = heldEmpty ? heldEmpty(line1) : line1.isEmpty();
    if (!empty)
        return {line1, item.mid(p)};
    return {item, {}};
}

RandomItem drawRandomItem(Random& random, int diceMode, int catalogueCount, int userCount) {
    int list;
    switch (diceMode) {
    case 0:
        list = random.draw(2) == 1 ? 1 : 2;
        break;
    case 1:
        list = 1;
        break;
    default:
        list = 2;
        break;
    }
    const int count = list == 1 ? catalogueCount : userCount;
    return {list, static_cast<int>(random.draw(static_cast<uint32_t>(std::max(count, 0))))};
}

SubtitleLines randomSubtitle(Random& random, int diceMode, const SubtitleItems& catalogue,
                             const SubtitleItems& user) {
    const RandomItem chosen = drawRandomItem(random, diceMode, catalogue.size(), user.size());
    return itemToLines(itemText(chosen.list == 1 ? catalogue : user, chosen.index));
}

} // namespace quillon
