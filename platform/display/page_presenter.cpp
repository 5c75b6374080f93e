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
    if (!queue_.empty())
        queue_.back().then.push_back(std::move(then));
    else if (!settling_.empty())
        settling_.push_back(std::move(then));
    else
        then();
}

void PagePresenter::forgetWaiting() {
    for (Entry& entry : queue_)
        entry.then.clear();
    settling_.clear();
}

void PagePresenter::clear() {
    queue_.clear();
    settling_.clear();
    shown_ = {};
}

void PagePresenter::refresh() {
    // The frame shown at the refresh before is on the screen now.
    std::vector<std::function<void()>> settled;
    settled.swap(settling_);
    for (auto& then : settled)
        then();
    if (queue_.empty() || !settling_.empty())
        return;
    showNext();
    if (!queue_.empty() || !settling_.empty())
        clock_->requestRefresh();
}

void PagePresenter::showNext() {
    Entry entry = std::move(queue_.front());
    queue_.pop_front();
    shown_ = std::move(entry.frame);
    if (show_)
        show_(shown_);
    if (clock_ && clock_->showsAtNextRefresh()) {
        // Runs at the next refresh; a marker keeps later waits behind this frame.
        settling_ = std::move(entry.then);
        settling_.emplace_back([] {});
        return;
    }
    // Whatever runs now may flip and queue again; it sees this frame as shown.
    for (auto& then : entry.then)
        then();
}

} // namespace quillon
