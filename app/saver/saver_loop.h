#pragma once
// The screen saver's cards, one after another until the program is ended: a subtitle
// for each, the card, its hold, then a short black pause. It runs on one frame timer
// whose ticks its owner hands to tick, so the same loop plays on the screen or on a
// virtual clock.
#include "presentation/card_engine.h"
#include "subtitles/subtitle_choice.h"

#include "platform/core/clock.h"
#include "platform/core/random.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {

class SaverLoop {
public:
    struct Parts {
        FrameTimer& timer;
        FlipPages& pages;
        CueSink& sound;
        const LiveSettings& settings;
        // The next card's lines, drawn from the loop's generator.
        std::function<SubtitleLines(Random&)> nextSubtitle;
    };
    // The seed fixes the order of the subtitles and every card's own random choices.
    SaverLoop(const Parts& parts, uint32_t seed, std::optional<uint32_t> holdMs);
    SaverLoop(const SaverLoop&) = delete;
    SaverLoop& operator=(const SaverLoop&) = delete;

    // Begins the first card.
    void start();
    // The frame timer's tick: the card's next step, or the next card after the pause.
    void tick();
    // Draws again what is on the screen now: the character last typed, the finished
    // card, or black. For pages made anew at another size.
    void redraw();

    // The black pause between the end of a hold and the next card's start wait.
    static constexpr uint32_t PauseMs = 1000;

    const CardEngine& card() const { return engine_; }
    int cardsBegun() const { return cards_; }
    bool pausing() const { return pausing_; }

private:
    // Each card reseeds from this "time of day": the loop's next draw.
    class SeedClock : public Clock {
    public:
        explicit SeedClock(Random& random) : random_(random) {}
        uint32_t nowMs() override { return 0; } // the card never asks
        uint32_t utcTimeOfDayMs() override { return random_.draw(24u * 60 * 60 * 1000); }

    private:
        Random& random_;
    };

    void nextCard();
    void holdEnded();
    void blank();

    Parts parts_;
    Random choices_;
    Random cardRandom_;
    SeedClock seedClock_{choices_};
    CardEngine engine_;
    int cards_ = 0;
    bool pausing_ = false;
};

} // namespace quillon
