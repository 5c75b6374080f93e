#include "platform/sound/sound_device.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {
uint32_t field(const QByteArray& record, int offset, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | uint8_t(record[offset + i]);
    return value;
}
} // namespace

std::optional<PcmFormat> PcmFormat::parse(const QByteArray& record) {
    if (record.size() < 16)
        return std::nullopt;
    PcmFormat f;
    f.formatTag = uint16_t(field(record, 0, 2));
    f.channels = uint16_t(field(record, 2, 2));
    f.samplesPerSec = field(record, 4, 4);
    f.avgBytesPerSec = field(record, 8, 4);
    f.blockAlign = uint16_t(field(record, 12, 2));
    f.bitsPerSample = uint16_t(field(record, 14, 2));
    // Only plain PCM at rates a device can play; anything else is refused, not guessed.
    const bool sane = f.formatTag == 1 && f.channels >= 1 && f.channels <= 8 &&
                      (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.samplesPerSec >= 100 &&
                      f.samplesPerSec <= 200000 && f.blockAlign == f.channels * f.bitsPerSample / 8;
    if (!sane)
        return std::nullopt;
    return f;
}

float gainOfVolume(int32_t hundredthsOfDb) {
    const int32_t v = std::clamp(hundredthsOfDb, DSBVOLUME_MIN, DSBVOLUME_MAX);
    return float(std::pow(10.0, v / 2000.0));
}

} // namespace quillon
