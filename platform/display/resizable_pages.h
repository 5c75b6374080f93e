#pragma once
// Pages in memory that can be made anew at another scale, for a window whose size
// changes under a card. The card keeps drawing on the same FlipPages; only the pages
// behind them change.
#include "platform/display/flip_pages.h"
#include "platform/display/offscreen_pages.h"

#include <memory>

namespace quillon {

class ResizablePages : public FlipPages {
public:
    // Pages of the given size in the display mode's coordinates, drawn at scale; as
    // OffscreenPages.
    ResizablePages(int width, int height, double scale, RefreshClock* refresh,
                   std::function<void(const PagePresenter::Frame&)> shown);

    // Makes the pages anew, black, at this scale. Refused (false, nothing changes) while
    // flipped pages still wait to go up: what waits for them would be lost.
    bool rescale(double scale);
    double scale() const { return scale_; }
    const OffscreenPages& pages() const { return *pages_; }

    bool ReadyToDraw() override { return pages_->ReadyToDraw(); }
    TDirectDrawSurface* BackSurface() const override { return pages_->BackSurface(); }
    void Flip() override { pages_->Flip(); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void whenShown(std::function<void()> then) override { pages_->whenShown(std::move(then)); }
    void forgetWaiting() override { pages_->forgetWaiting(); }

    // The scale at which pages of width × height in mode units fill as much of a target
    // of the given size in device pixels as their aspect allows; 0 for an empty target.
    static double scaleToFit(int width, int height, QSize target);

private:
    int width_;
    int height_;
    double scale_;
    RefreshClock* refresh_;
    std::function<void(const PagePresenter::Frame&)> shown_;
    std::unique_ptr<OffscreenPages> pages_;
};

} // namespace quillon
