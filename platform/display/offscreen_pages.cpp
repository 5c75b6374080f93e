#include "platform/display/offscreen_pages.h"

#include "platform/display/directdraw.h"
#include "platform/display/surface.h"

namespace quillon {

OffscreenPages::OffscreenPages(int width, int height, double scale, RefreshClock* refresh,
                               std::function<void(const PagePresenter::Frame&)> shown)
    : width_(width), height_(height), presenter_(refresh, std::move(shown)) {
    device_.pageScale = scale;
    device_.desktop = {width, height, 16};
    device_.modes = {device_.desktop};
    device_.setCurrentMode(device_.desktop);
    draw_ = std::make_unique<TDirectDraw>(device_, false);
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE | ddraw::DDSCAPS_FLIP | ddraw::DDSCAPS_COMPLEX;
    primary_ = new TDirectDrawSurface(*draw_);
    back_ = new TDirectDrawSurface(*draw_);
    // A size the device cannot hold leaves the pages without an interface: nothing is
    // drawn and ReadyToDraw says so.
    if (primary_->CreateSurface(desc))
        back_->takeAttachedSurface(*primary_, ddraw::DDSCAPS_BACKBUFFER);
    if (back_->hasInterface())
        back_->ColorFill(0);
}

OffscreenPages::~OffscreenPages() = default;

bool OffscreenPages::ReadyToDraw() {
    return back_->hasInterface();
}

void OffscreenPages::Flip() {
    if (!primary_->Flip())
        return;
    ++flips_;
    const ddraw::Surface& front = primary_->surfaceInterface();
    presenter_.queue({front.page(), front.litArea()});
}

void OffscreenPages::whenShown(std::function<void()> then) {
    presenter_.whenShown(std::move(then));
}

void OffscreenPages::forgetWaiting() {
    presenter_.forgetWaiting();
}

const QImage& OffscreenPages::frontPage() const {
    static const QImage none;
    const QImage* page = primary_->page();
    return page ? *page : none;
}

} // namespace quillon
