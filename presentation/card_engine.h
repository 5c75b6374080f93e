#pragma once
// One title card's sequence: the start wait, each character typed alone at the card's
// cadence with its cue, the finished card with its closing cue, and the hold. It runs
// against three seams, so the same card plays on the screen, in a screen saver's window
// or off the screen: a frame timer (time), flip pages (what is drawn) and a cue sink
// (sound). Its run state is its own: several cards can run at once.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {

class Clock;
class CueSink;
class FlipPages;
class FrameTimer;
class LiveSettings;
class Random;

class CardEngine {
public:
    struct Seams {
        FrameTimer& timer;
        Clock& clock; // reseeds the random generator at each card
        Random& random;
        FlipPages& pages;
        CueSink& sound;
        const LiveSettings& settings;
    };
    explicit CardEngine(const Seams& seams);
    ~CardEngine();
    CardEngine(const CardEngine&) = delete;
    CardEngine& operator=(const CardEngine&) = delete;

    // A new card with these lines: reseeds the generator and sets the run state afresh.
    // Nothing is drawn until Start arms the timer and the start wait has passed.
    void begin(const QByteArray& line1, const QByteArray& line2);
    // Arms the timer with the start wait.
    void start();
    // The frame timer's tick: the next character, the card, or the end of the hold.
    void DXTimerTimer();
    // One character alone, with its cue once it is on the screen.
    void DispText(const QByteArray& ch);
    // The finished card; once it is on the screen: the hold and the closing cue.
    void DispAll();
    // The end of the hold: the timer stops and the host decides what follows.
    void DispStop();
    // Plays a cue unless Silent is on.
    void PutSound(const QString& name);
    // Leaving the card: the timer stops and a black page goes up.
    void blank();

    const QByteArray& Line1() const { return line1_; }
    const QByteArray& Line2() const { return line2_; }
    int32_t TypePos() const { return typePos_; }
    bool CardDone() const { return cardDone_; }
    bool LineEndPause() const { return lineEndPause_; }
    bool BeastMode() const { return beastMode_; }
    // Line 1 holds the program's name: the credits card.
    bool credits() const;

    // What follows the hold (ending the program, closing the card, or nothing).
    std::function<void()> OnHoldEnd;
    // A host's own hold in milliseconds; unset: the card's (7000, 10000 for credits).
    std::optional<uint32_t> holdOverride;

private:
    // Runs then once the pages flipped so far are on the screen, unless another card has
    // begun meanwhile.
    void whenShown(std::function<void()> then);
    void arm(uint32_t interval);
    // The next character to type, drawn ahead in the pause before its tick.
    void prepareNext();

    Seams seams_;
    QByteArray line1_;
    QByteArray line2_;
    int32_t typePos_ = 0;
    bool cardDone_ = false;
    bool lineEndPause_ = false;
    bool beastMode_ = false;
    uint64_t run_ = 0;
};

} // namespace quillon
