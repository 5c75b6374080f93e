#include "app/export/card_source.h"

#include "app/export/export_options.h"
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/display/offscreen_pages.h"
#include "platform/display/page_painter.h"
#include "platform/display/refresh_clock.h"
#include "platform/display/resizable_pages.h"
#include "platform/sound/timed_cues.h"
#include "platform/text/sjis.h"
#include "platform/timer/dxtimer.h"
#include "presentation/card_engine.h"
#include "settings/stored_settings.h"

#include <QPainter>
#include <algorithm>
#include <optional>

namespace quillon {

namespace {

constexpr int ModeWidth = 640;
constexpr int ModeHeight = 480;

// The export's display. A page goes up the moment it is flipped, so the video keeps the
// card's cadence to the millisecond; only a character that no frame has shown yet stays
// up until one has, so that each is seen.
class FrameRefresh : public RefreshClock {
public:
    void requestRefresh() override {
        if (holding_)
            pending_ = true;
        else if (onRefresh)
            onRefresh();
    }
    // A page went up; one with anything on it is held for the next frame.
    void shown(const PagePresenter::Frame& frame) { holding_ = !frame.lit.isEmpty(); }
    // A frame has taken the page on the screen.
    void frameTaken() {
        holding_ = false;
        if (pending_) {
            pending_ = false;
            if (onRefresh)
                onRefresh();
        }
    }

private:
    bool holding_ = false;
    bool pending_ = false;
};

// When each typed character and the finished card went up, for captions. One tick puts
// up the pages of one text (a character after a black page, or the card): any page ends
// the text before it, and the tick's last page is its own text's.
class TextMoments {
public:
    // The tick about to run types the character at the engine's position, shows the
    // card, or ends the hold.
    void tick(const CardEngine& engine) {
        const QByteArray joined = engine.Line1() + engine.Line2();
        const qsizetype pos = engine.TypePos() - 1;
        started_ = false;
        if (pos < joined.size())
            next_ = {joined.mid(pos, sjis::charLengthAt(joined, pos)), {}, 0, -1};
        else if (!engine.CardDone())
            next_ = {engine.Line1(), engine.Line2(), 0, -1};
        else
            next_.reset();
    }
    void pageUp(int64_t ms) {
        if (!texts_.empty() && texts_.back().untilMs < 0 && !started_)
            texts_.back().untilMs = ms;
        if (!next_)
            return;
        if (!started_)
            texts_.push_back(*next_);
        started_ = true;
        texts_.back().fromMs = ms;
    }
    // The last text stays up until the end of the hold, when that is known (else -1).
    std::vector<ShownText> texts(int64_t endMs) const {
        std::vector<ShownText> out = texts_;
        if (!out.empty() && out.back().untilMs < 0)
            out.back().untilMs = endMs;
        return out;
    }

private:
    std::optional<ShownText> next_;
    bool started_ = false;
    std::vector<ShownText> texts_;
};

class CardExportSource : public ExportSource {
public:
    CardExportSource(const ExportOptions& options, const Settings& settings)
        : options_(options), settings_(settings),
          pages_(ModeWidth, ModeHeight,
                 ResizablePages::scaleToFit(ModeWidth, ModeHeight, options.size), &refresh_,
                 [this](const PagePresenter::Frame& frame) {
                     refresh_.shown(frame);
                     moments_.pageUp(std::max(int64_t(clock_.nowMs()), pagesFromMs_));
                 }),
          cues_(clock_, ExportSampleRate),
          engine_({timer_, clock_, random_, pages_, cues_, settings_}) {
        // The seed is what the card's reseed reads; without one, the time of day as on
        // the screen.
        clock_.setTimeOfDay(options.seed ? *options.seed : programClock().utcTimeOfDayMs());
        timer_.setActiveOnly(false);
        timer_.setEnabled(false);
        timer_.loaded();
        timer_.OnTimer = [this](TCustomDXTimer*, int32_t) {
            moments_.tick(engine_);
            engine_.DXTimerTimer();
        };
        engine_.OnHoldEnd = [this] { endMs_ = clock_.nowMs(); };
        engine_.begin(options.line1, options.line2);
        engine_.start();
    }

    QSize frameSize() const override { return options_.size; }
    int fps() const override { return options_.fps; }

    int64_t expectedFrames() const override {
        // For the progress only: the start wait, a typical step a character, the hold.
        const int64_t characters = (options_.line1 + options_.line2).size() / 2 + 1;
        const int64_t step = (engine_.BeastMode() ? 700 : 200) + settings_.Wait();
        const int64_t hold = engine_.credits() ? 10000 : 7000;
        return msToFrames(settings_.StartWait() + characters * step + hold);
    }

    bool atEnd() const override {
        // Once the card is up, its hold's end is known before it comes.
        int64_t end = endMs_;
        if (end < 0 && engine_.CardDone() && timer_.running())
            end = int64_t(timer_.LastTickTime()) + timer_.Interval();
        return end >= 0 && frameMs(frame_) >= end;
    }

    QImage nextFrame() override {
        runUntil(frameMs(frame_));
        QImage shown = picture();
        // A page held back until now is first seen in the next frame.
        pagesFromMs_ = frameMs(frame_ + 1);
        refresh_.frameTaken();
        pagesFromMs_ = 0;
        ++frame_;
        return shown;
    }

    std::vector<CueStart> takeCues() override {
        // Every cue before the end of the frame just returned has started.
        runUntil(frameMs(frame_) - 1);
        return cues_.take();
    }

    QImage finishedCard() override {
        while (!engine_.CardDone() && step()) {
            // Nothing films this card: a held character goes when the next one comes.
            refresh_.frameTaken();
        }
        return picture();
    }

    std::vector<ShownText> shownTexts() const override {
        int64_t end = endMs_;
        if (end < 0 && engine_.CardDone() && timer_.running())
            end = int64_t(timer_.LastTickTime()) + timer_.Interval();
        return moments_.texts(end);
    }

private:
    int64_t frameMs(int64_t frame) const { return frame * 1000 / options_.fps; }
    int64_t msToFrames(int64_t ms) const { return (ms * options_.fps + 999) / 1000; }

    // Lets the card's next tick come; false when none will.
    bool step() {
        if (endMs_ >= 0)
            return false;
        return advanceToNextTick(timer_, clock_);
    }

    // Runs every tick due by then, and brings the clock there.
    void runUntil(int64_t ms) {
        while (endMs_ < 0 && timer_.running() && clock_.nowMs() + timer_.msUntilDue() <= ms)
            step();
        if (clock_.nowMs() < ms)
            clock_.set(uint32_t(ms));
    }

    // The page on the screen, on a frame of the output's size, in the file's look; made
    // again only when the page changed, so the encoder sees a repeated frame as such.
    const QImage& picture() {
        const PagePresenter::Frame& shown = pages_.shown();
        if (shown.page.cacheKey() != pictureOf_ || picture_.isNull()) {
            pictureOf_ = shown.page.cacheKey();
            picture_ = QImage(options_.size, QImage::Format_RGB32);
            picture_.fill(Qt::black);
            if (!shown.page.isNull()) {
                QPainter painter(&picture_);
                paintPage(painter, placePage(shown.page.size(), options_.size), shown.page,
                          shown.lit, QRegion(picture_.rect()));
            }
            styled_ = styler_.apply(picture_);
        }
        return styled_;
    }

    ExportOptions options_;
    StoredSettings settings_;
    ManualClock clock_;
    TCustomDXTimer timer_{nullptr, clock_, nullptr};
    Random random_;
    FrameRefresh refresh_;
    OffscreenPages pages_;
    TimedCues cues_;
    TextMoments moments_;
    int64_t pagesFromMs_ = 0;
    CardEngine engine_;
    int64_t frame_ = 0;
    int64_t endMs_ = -1;
    QImage picture_;
    qint64 pictureOf_ = 0;
    PageStyler styler_{options_.style};
    QImage styled_;
};

} // namespace

std::unique_ptr<ExportSource> makeCardExportSource(const ExportOptions& options,
                                                   const Settings& settings) {
    return std::make_unique<CardExportSource>(options, settings);
}

std::unique_ptr<ExportSource> makeCardExportSource(const ExportOptions& options) {
    return makeCardExportSource(options, loadStoredSettings());
}

} // namespace quillon
