#include "presentation/card_engine.h"

#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/display/flip_pages.h"
#include "platform/display/surface.h"
#include "platform/sound/cue_sink.h"
#include "platform/text/sjis.h"
#include "platform/timer/frame_timer.h"
#include "presentation/live_settings.h"
#include "presentation/title_drawing.h"

namespace quillon {

namespace {
const QByteArray BeastKeyword("\x8F\x62\x89\xA4"); // 獣王
const QByteArray CreditsKeyword("Quillon");
const char* const AnimalCues[] = {"Lion", "Elephant", "Condle"};
} // namespace

CardEngine::CardEngine(const Seams& seams) : seams_(seams) {}

CardEngine::~CardEngine() {
    seams_.pages.forgetWaiting();
}

void CardEngine::begin(const QByteArray& line1, const QByteArray& line2) {
    ++run_;
    seams_.random.setSeed(seams_.clock.utcTimeOfDayMs());
    line1_ = line1;
    line2_ = line2;
    cardDone_ = false;
    typePos_ = 1;
    lineEndPause_ = false;
    // The lines are searched separately: a keyword split by the line break does not count.
    beastMode_ = line1_.contains(BeastKeyword) || line2_.contains(BeastKeyword);
}

void CardEngine::start() {
    arm(static_cast<uint32_t>(seams_.settings.StartWait()));
    prepareNext();
}

void CardEngine::arm(uint32_t interval) {
    seams_.timer.setInterval(interval);
    seams_.timer.setEnabled(true);
}

bool CardEngine::credits() const {
    return line1_.contains(CreditsKeyword);
}

void CardEngine::whenShown(std::function<void()> then) {
    const uint64_t run = run_;
    seams_.pages.whenShown([this, run, then = std::move(then)] {
        if (run == run_)
            then();
    });
}

void CardEngine::DXTimerTimer() {
    const QByteArray joined = line1_ + line2_;
    const int32_t n = static_cast<int32_t>(joined.size());
    if (n < typePos_) {
        if (!cardDone_)
            DispAll();
        else
            DispStop();
        return;
    }

    seams_.timer.setEnabled(false);
    const int length = sjis::charLengthAt(joined, typePos_ - 1);
    const QByteArray ch = joined.mid(typePos_ - 1, length);
    typePos_ += length;

    int32_t extra;
    if (beastMode_) {
        extra = 700;
    } else if (typePos_ == line1_.size() + 1 || typePos_ == n + 1) {
        extra = 290;
        lineEndPause_ = true;
    } else if (lineEndPause_) {
        extra = 0;
        lineEndPause_ = false;
    } else if (typePos_ == 2 || typePos_ == 3) {
        extra = 100;
    } else {
        extra = seams_.random.draw(10) <= 7 ? 100 : 0;
    }

    DispText(ch);
    // The pause counts from the moment the character is on the screen: the refreshes its
    // two pages wait for come on top, as the drawing does. The next character is drawn
    // ahead inside that pause.
    whenShown([this, extra] {
        arm(static_cast<uint32_t>(extra + seams_.settings.Wait()));
        prepareNext();
    });
}

void CardEngine::prepareNext() {
    const QByteArray joined = line1_ + line2_;
    if (typePos_ < 1 || typePos_ > joined.size())
        return;
    const int length = sjis::charLengthAt(joined, typePos_ - 1);
    prepareCharacter(seams_.pages, joined.mid(typePos_ - 1, length), seams_.settings.Magnify(),
                     seams_.settings.Font());
}

void CardEngine::DispText(const QByteArray& ch) {
    if (!seams_.pages.ReadyToDraw())
        return;
    const QString cue = beastMode_ ? QString::fromLatin1(AnimalCues[seams_.random.draw(3)])
                                   : QStringLiteral("Type");
    drawCharacter(seams_.pages, ch, seams_.settings.Magnify(), seams_.settings.Font());
    whenShown([this, cue] { PutSound(cue); });
}

void CardEngine::DispAll() {
    // No tick may come while the card waits to reach the screen.
    seams_.timer.setEnabled(false);
    drawCard(seams_.pages, line1_, line2_, seams_.settings.Font());
    whenShown([this] {
        cardDone_ = true;
        const bool creditsCard = credits();
        // The hold counts from here.
        arm(holdOverride ? *holdOverride : creditsCard ? 10000 : 7000);
        if (creditsCard) {
            PutSound(QStringLiteral("Theme"));
            PutSound(QStringLiteral("Joke"));
        } else if (beastMode_) {
            PutSound(QStringLiteral("GotIt"));
        } else {
            PutSound(QStringLiteral("Theme"));
        }
    });
}

void CardEngine::DispStop() {
    seams_.timer.setEnabled(false);
    if (OnHoldEnd)
        OnHoldEnd();
}

void CardEngine::PutSound(const QString& name) {
    if (seams_.settings.Silent())
        return;
    seams_.sound.playCue(name);
}

void CardEngine::blank() {
    ++run_; // nothing of this card that still waits for the screen goes on
    seams_.timer.setEnabled(false);
    seams_.pages.forgetWaiting();
    if (TDirectDrawSurface* back = seams_.pages.BackSurface())
        back->ColorFill(0);
    seams_.pages.Flip();
}

} // namespace quillon
