// The catalogue texts are kept as UTF-8 resources, one title per line, so they stay
// readable and diffable; they become Shift-JIS items once, on first use.
#include "subtitles/catalogue.h"

#include "platform/text/sjis.h"

#include <QFile>
#include <QString>

#include <array>

namespace quillon {

namespace {

QList<QByteArray> loadSeries(int series) {
    QList<QByteArray> titles;
    QFile file(QStringLiteral(":/catalogue/part%1.txt").arg(series));
    if (!file.open(QIODevice::ReadOnly))
        return titles;
    const QString text = QString::fromUtf8(file.readAll());
    for (QString line : text.split(QLatin1Char('\n'))) {
        // Tolerate a file saved with CR LF line ends.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            titles.append(sjis::fromUnicode(line));
    }
    return titles;
}

} // namespace

const QList<QByteArray>& catalogueTitles(int series) {
    static const std::array<QList<QByteArray>, 4> lists = {QList<QByteArray>(), loadSeries(1),
                                                           loadSeries(2), loadSeries(3)};
    static const QList<QByteArray> none;
    return series >= 1 && series <= 3 ? lists[series] : none;
}

QList<QByteArray> catalogueRange(int original) {
    if (original >= 0 && original <= 2)
        return catalogueTitles(original + 1);
    return catalogueTitles(1) + catalogueTitles(2) + catalogueTitles(3);
}

} // namespace quillon
