#include "presentation/built_in_sounds.h"

#include "platform/sound/dxwavelist.h"

#include <QFile>
#include <QStringList>

namespace quillon {

namespace {

QList<BuiltInSound> readTable() {
    QList<BuiltInSound> table;
    QFile file(QStringLiteral(":/sounds/table.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamReadError();
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.trimmed().split('\t');
        if (fields.size() != 5)
            throw EStreamReadError();
        BuiltInSound s;
        s.name = QString::fromLatin1(fields[0]);
        s.looped = fields[1] == "1";
        s.rate = fields[2].toUInt();
        s.formatBytes = fields[3].toInt();
        s.dataBytes = fields[4].toInt();
        table.append(s);
    }
    return table;
}

} // namespace

const QList<BuiltInSound>& builtInSounds() {
    static const QList<BuiltInSound> table = readTable();
    return table;
}

void readBuiltInWave(const BuiltInSound& sound, TWave& wave) {
    QFile image(QStringLiteral(":/sounds/%1.wav").arg(sound.name));
    if (!image.open(QIODevice::ReadOnly))
        throw EStreamReadError();
    wave.readWave(image);
}

void loadBuiltInSounds(TDXWaveList& list) {
    TWaveCollection& items = *list.Items();
    items.clear();
    for (const BuiltInSound& sound : builtInSounds()) {
        TWaveCollectionItem* item = items.add();
        item->setName(sound.name);
        item->setLooped(sound.looped);
        item->setMaxPlayingCount(0);
        readBuiltInWave(sound, item->Wave());
    }
    if (list.DXSound() && list.DXSound()->initialized())
        items.Restore();
}

} // namespace quillon
