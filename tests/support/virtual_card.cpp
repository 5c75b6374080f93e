#include "support/virtual_card.h"

#include "platform/text/sjis.h"

namespace quillon::testing {

QByteArray sj(const QString& text) {
    return sjis::fromUnicode(text);
}

CardRig::CardRig(bool paced, FlipPages* pages)
    : ownPages(640, 480, 1.0, paced ? &refresh : nullptr), pages(pages ? *pages : ownPages) {
    timer.setActiveOnly(false);
    timer.setEnabled(false);
    timer.loaded();
}

void CardRig::onTick(std::function<void()> tick) {
    timer.OnTimer = [tick = std::move(tick)](TCustomDXTimer*, int32_t) { tick(); };
}

int64_t CardRig::step() {
    const uint32_t before = clock.nowMs();
    if (!advanceToNextTick(timer, clock))
        return -1;
    return int64_t(clock.nowMs() - before);
}

VirtualCard::VirtualCard(uint32_t timeOfDay, uint32_t startMs, bool paced) : CardRig(paced) {
    clock.set(startMs);
    clock.setTimeOfDay(timeOfDay);
    onTick([this] { engine.DXTimerTimer(); });
    engine.OnHoldEnd = [this] { ++holdsEnded; };
}

void VirtualCard::play(const QByteArray& line1, const QByteArray& line2) {
    engine.begin(line1, line2);
    engine.start();
}

std::vector<int64_t> VirtualCard::playToEnd() {
    std::vector<int64_t> pauses;
    for (int64_t pause = step(); pause >= 0 && pauses.size() < 1000; pause = step())
        pauses.push_back(pause);
    return pauses;
}

} // namespace quillon::testing
