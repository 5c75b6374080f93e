#pragma once
// Two pages held in memory and flipped like the screen's, for a card played where no
// window shows it (a test, an export). Without a refresh clock a flip is on its "screen"
// at once; with one, flipped pages go up one refresh each, as on a display.
#include "platform/display/ddraw_device.h"
#include "platform/display/flip_pages.h"
#include "platform/display/page_presenter.h"

#include <QImage>
#include <memory>

namespace quillon {

class TDirectDraw;

class OffscreenPages : public FlipPages {
public:
    // Pages of the given size in the display mode's coordinates, 16 bits a pixel, drawn
    // at scale device pixels to a unit. shown hears of each page as it goes up, before
    // what waited for it runs.
    OffscreenPages(int width, int height, double scale = 1.0, RefreshClock* refresh = nullptr,
                   std::function<void(const PagePresenter::Frame&)> shown = {});
    ~OffscreenPages() override;
    OffscreenPages(const OffscreenPages&) = delete;
    OffscreenPages& operator=(const OffscreenPages&) = delete;

    bool ReadyToDraw() override;
    TDirectDrawSurface* BackSurface() const override { return back_; }
    void Flip() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void whenShown(std::function<void()> then) override;
    void forgetWaiting() override;

    // The front page of the chain.
    const QImage& frontPage() const;
    // The page on the "screen" now, and where it may not be black.
    const PagePresenter::Frame& shown() const { return presenter_.shown(); }
    const PagePresenter& presenter() const { return presenter_; }
    // How many flips were made.
    int flips() const { return flips_; }

private:
    int width_;
    int height_;
    ddraw::Device device_;
    std::unique_ptr<TDirectDraw> draw_;
    // Made through draw_, which frees them.
    TDirectDrawSurface* primary_ = nullptr;
    TDirectDrawSurface* back_ = nullptr;
    PagePresenter presenter_;
    int flips_ = 0;
};

} // namespace quillon
