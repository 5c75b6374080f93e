#pragma once
// Puts flipped pages on the screen at the display's pace without ever blocking: a flip
// queues the page it brought up front; at each refresh the next page in the queue goes on
// the screen, so every page is seen for at least one refresh, in order. What waits for a
// page to be seen runs once it is: at the refresh that shows it, or at the one after where
// the clock says pages reach the screen a refresh late.
#include <QImage>
#include <QRect>
#include <deque>
#include <functional>
#include <vector>

namespace quillon {

class RefreshClock;

class PagePresenter {
public:
    struct Frame {
        QImage page; // shared with the device's page until either changes
        QRect lit;   // where it may not be black, in the page's pixels
    };
    // show puts a frame on the screen. Without a refresh clock a frame is shown at once.
    PagePresenter(RefreshClock* clock, std::function<void(const Frame&)> show);
    ~PagePresenter();
    PagePresenter(const PagePresenter&) = delete;
    PagePresenter& operator=(const PagePresenter&) = delete;

    void queue(Frame frame);
    // Runs then once every frame queued so far is on the screen; at once when none waits.
    void whenShown(std::function<void()> then);
    // Drops what waits to run; the queued frames still go up.
    void forgetWaiting();
    // Drops the queued frames, what waits for them, and the frame shown.
    void clear();

    bool waiting() const { return !queue_.empty() || !settling_.empty(); }
    // The frame on the screen now.
    const Frame& shown() const { return shown_; }

private:
    struct Entry {
        Frame frame;
        std::vector<std::function<void()>> then;
    };
    void refresh();
    void showNext();

    RefreshClock* clock_;
    std::function<void(const Frame&)> show_;
    std::deque<Entry> queue_;
    // What waits for the frame shown last, on a clock whose pages reach the screen a
    // refresh after they are shown.
    std::vector<std::function<void()>> settling_;
    Frame shown_;
};

} // namespace quillon
