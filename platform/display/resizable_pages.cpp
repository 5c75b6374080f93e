#include "platform/display/resizable_pages.h"

#include <algorithm>

namespace quillon {

ResizablePages::ResizablePages(int width, int height, double scale, RefreshClock* refresh,
                               std::function<void(const PagePresenter::Frame&)> shown)
    : width_(width), height_(height), scale_(scale), refresh_(refresh), shown_(std::move(shown)),
      pages_(std::make_unique<OffscreenPages>(width, height, scale, refresh, shown_)) {}

bool ResizablePages::rescale(double scale) {
    if (pages_->presenter().waiting())
        return false;
    // The old pages let go of the refresh clock before the new ones take it.
    pages_.reset();
    pages_ = std::make_unique<OffscreenPages>(width_, height_, scale, refresh_, shown_);
    scale_ = scale;
    return true;
}

double ResizablePages::scaleToFit(int width, int height, QSize target) {
    if (width <= 0 || height <= 0 || target.isEmpty())
        return 0;
    return std::min(double(target.width()) / width, double(target.height()) / height);
}

} // namespace quillon
