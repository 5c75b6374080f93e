#include "subtitles/subtitle_choice.h"

#include "platform/core/random.h"

#include <algorithm>

namespace quillon {

QByteArray ItemTextPart(const QByteArray& item) {
    const qsizetype nul = item.indexOf('\0');
    return nul < 0 ? item : item.left(nul);
}

QByteArray ItemText(const QList<QByteArray>& items, int index) {
    if (index < 0 || index >= items.size())
        return {};
    const QByteArray text = ItemTextPart(items.at(index));
    return text.size() >= ItemBufferSize ? QByteArray() : text;
}

SubtitleLines ItemToLines(const QByteArray& item,
                          const std::function<bool(const QByteArray&)>& heldEmpty) {
    const qsizetype p = item.indexOf(' ') + 1; // 1-based, 0 when there is none
    const QByteArray line1 = p > 1 ? item.left(p - 1) : QByteArray();
    const bool empty = heldEmpty ? heldEmpty(line1) : line1.isEmpty();
    if (!empty)
        return {line1, item.mid(p)};
    return {item, {}};
}

RandomItem DrawRandomItem(Random& random, int diceMode, int catalogueCount, int userCount) {
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

SubtitleLines RandomSubtitle(Random& random, int diceMode, const QList<QByteArray>& catalogue,
                             const QList<QByteArray>& user) {
    const RandomItem chosen =
        DrawRandomItem(random, diceMode, int(catalogue.size()), int(user.size()));
    return ItemToLines(ItemText(chosen.list == 1 ? catalogue : user, chosen.index));
}

} // namespace quillon
