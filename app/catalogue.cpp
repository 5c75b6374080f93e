// Placeholder until the catalogue texts land.
#include "app/catalogue.h"

#include "platform/sjis.h"

#include <array>

namespace quillon {

const QList<QByteArray>& CatalogueTitles(int series) {
    static const std::array<QList<QByteArray>, 4> lists = [] {
        std::array<QList<QByteArray>, 4> l;
        const int counts[] = {0, 23, 155, 50};
        for (int s = 1; s <= 3; ++s)
            for (int i = 0; i < counts[s]; ++i)
                l[s].append(sjis::fromUnicode(QStringLiteral("第%1部の題 その%2").arg(s).arg(i + 1)));
        return l;
    }();
    static const QList<QByteArray> none;
    return series >= 1 && series <= 3 ? lists[series] : none;
}

} // namespace quillon
