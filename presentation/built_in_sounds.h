#pragma once
// The program's eleven sounds: their table (names in the wave list's order, which one
// loops, the format each image has) and loading them into a wave list.
#include <QList>
#include <QString>
#include <cstdint>

namespace quillon {

class TDXWaveList;
class TWave;

struct BuiltInSound {
    QString name;
    bool looped = false;
    uint32_t rate = 0;
    int formatBytes = 0;
    int dataBytes = 0;
};

// The table the sounds were made from, read from the program's resources.
const QList<BuiltInSound>& builtInSounds();

// Reads the sound's wave from the program's resources.
void readBuiltInWave(const BuiltInSound& sound, TWave& wave);

// Replaces the list's items by the built-in sounds; a list that already plays gets
// its buffers at once.
void loadBuiltInSounds(TDXWaveList& list);

} // namespace quillon
