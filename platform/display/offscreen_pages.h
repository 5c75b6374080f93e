#pragma once
// Two pages held in memory and flipped like the screen's, for a card played where no
// window shows it (a test, an export). A flip is on its "screen" at once.
#include "platform/display/ddraw_device.h"
#include "platform/display/flip_pages.h"

#include <QImage>
#include <memory>

namespace quillon {

class TDirectDraw;

class OffscreenPages : public FlipPages {
public:
    // Pages of the given size in the display mode's coordinates, 16 bits a pixel.
    OffscreenPages(int width, int height);
    ~OffscreenPages() override;
    OffscreenPages(const OffscreenPages&) = delete;
    OffscreenPages& operator=(const OffscreenPages&) = delete;

    bool ReadyToDraw() override;
    TDirectDrawSurface* BackSurface() const override { return back_; }
    void Flip() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void WhenShown(std::function<void()> then) override;
    void ForgetWaiting() override {}

    // The page on the "screen" now.
    const QImage& FrontPage() const;
    // How many flips were made.
    int Flips() const { return flips_; }

private:
    int width_;
    int height_;
    ddraw::Device device_;
    std::unique_ptr<TDirectDraw> draw_;
    // Made through draw_, which frees them.
    TDirectDrawSurface* primary_ = nullptr;
    TDirectDrawSurface* back_ = nullptr;
    int flips_ = 0;
};

} // namespace quillon
