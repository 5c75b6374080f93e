#include "platform/display/page_presenter.h"

#include "platform/display/refresh_clock.h"

namespace quillon {

PagePresenter::PagePresenter(RefreshClock* clock, std::function<void(const Frame&)> show)
    : clock_(clock), show_(std::move(show)) {
    if (clock_)
        clock_->onRefresh = [this] { refresh(); };
}

PagePresenter::~PagePresenter() {
    if (clock_)
        clock_->onRefresh = nullptr;
}

void PagePresenter::queue(Frame frame) {
    queue_.push_back({std::move(frame), {}});
    if (!clock_) {
        showNext();
        return;
    }
    clock_->requestRefresh();
}

void PagePresenter::whenShown(std::function<void()> then) {
    if (!then)
        return;
    if (queue_.empty())
        then();
    else
        queue_.back().then.push_back(std::move(then));
}

void PagePresenter::forgetWaiting() {
    for (Entry& entry : queue_)
        entry.then.clear();
}

void PagePresenter::clear() {
    queue_.clear();
    shown_ = {};
}

void PagePresenter::refresh() {
    if (queue_.empty())
        return;
    showNext();
    if (!queue_.empty())
        clock_->requestRefresh();
}

void PagePresenter::showNext() {
    Entry entry = std::move(queue_.front());
    queue_.pop_front();
    shown_ = std::move(entry.frame);
    if (show_)
        show_(shown_);
    // Whatever runs now may flip and queue again; it sees this frame as shown.
    for (auto& then : entry.then)
        then();
}

} // namespace quillon
