#include "app/export/card_source.h"

#include "app/export/export_options.h"
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/display/offscreen_pages.h"
#include "platform/display/page_painter.h"
#include "platform/display/refresh_clock.h"
#include "platform/display/resizable_pages.h"
#include "platform/sound/cue_sink.h"
#include "platform/timer/dxtimer.h"
#include "presentation/card_engine.h"
#include "settings/stored_settings.h"

#include <QPainter>
#include <algorithm>

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

// The cues, with the moment each started.
class TimedCues : public CueSink {
public:
    explicit TimedCues(Clock& clock) : clock_(clock) {}
    void PlayCue(const QString& name) override {
        cues_.push_back({name, int64_t(clock_.nowMs()) * ExportSampleRate / 1000});
    }
    std::vector<CueStart> take() { return std::exchange(cues_, {}); }

private:
    Clock& clock_;
    std::vector<CueStart> cues_;
};

class CardExportSource : public ExportSource {
public:
    CardExportSource(const ExportOptions& options, const Settings& settings)
        : options_(options), settings_(settings),
          pages_(ModeWidth, ModeHeight,
                 ResizablePages::scaleToFit(ModeWidth, ModeHeight, options.size), &refresh_,
                 [this](const PagePresenter::Frame& frame) { refresh_.shown(frame); }),
          cues_(clock_), engine_({timer_, clock_, random_, pages_, cues_, settings_}) {
        // The seed is what the card's reseed reads; without one, the time of day as on
        // the screen.
        clock_.setTimeOfDay(options.seed ? *options.seed : programClock().utcTimeOfDayMs());
        timer_.setActiveOnly(false);
        timer_.setEnabled(false);
        timer_.Loaded();
        timer_.OnTimer = [this](TCustomDXTimer*, int32_t) { engine_.DXTimerTimer(); };
        engine_.OnHoldEnd = [this] { endMs_ = clock_.nowMs(); };
        engine_.Begin(options.line1, options.line2);
        engine_.Start();
    }

    QSize frameSize() const override { return options_.size; }
    int fps() const override { return options_.fps; }

    int64_t expectedFrames() const override {
        // For the progress only: the start wait, a typical step a character, the hold.
        const int64_t characters = (options_.line1 + options_.line2).size() / 2 + 1;
        const int64_t step = (engine_.BeastMode() ? 700 : 200) + settings_.Wait();
        const int64_t hold = engine_.Credits() ? 10000 : 7000;
        return msToFrames(settings_.StartWait() + characters * step + hold);
    }

    bool atEnd() const override {
        // Once the card is up, its hold's end is known before it comes.
        int64_t end = endMs_;
        if (end < 0 && engine_.CardDone() && timer_.Running())
            end = int64_t(timer_.LastTickTime()) + timer_.Interval();
        return end >= 0 && frameMs(frame_) >= end;
    }

    QImage nextFrame() override {
        runUntil(frameMs(frame_));
        QImage shown = picture();
        refresh_.frameTaken();
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
        while (endMs_ < 0 && timer_.Running() && clock_.nowMs() + timer_.msUntilDue() <= ms)
            step();
        if (clock_.nowMs() < ms)
            clock_.set(uint32_t(ms));
    }

    // The page on the screen, on a frame of the output's size; made again only when the
    // page changed, so the encoder sees a repeated frame as such.
    const QImage& picture() {
        const PagePresenter::Frame& shown = pages_.Shown();
        if (shown.page.cacheKey() != pictureOf_ || picture_.isNull()) {
            pictureOf_ = shown.page.cacheKey();
            picture_ = QImage(options_.size, QImage::Format_RGB32);
            picture_.fill(Qt::black);
            if (!shown.page.isNull()) {
                QPainter painter(&picture_);
                PaintPage(painter, PageArea(shown.page.size(), options_.size), shown.page,
                          shown.lit, QRegion(picture_.rect()));
            }
        }
        return picture_;
    }

    ExportOptions options_;
    StoredSettings settings_;
    ManualClock clock_;
    TCustomDXTimer timer_{nullptr, clock_, nullptr};
    Random random_;
    FrameRefresh refresh_;
    OffscreenPages pages_;
    TimedCues cues_;
    CardEngine engine_;
    int64_t frame_ = 0;
    int64_t endMs_ = -1;
    QImage picture_;
    qint64 pictureOf_ = 0;
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
