#pragma once
// The display's refresh as the presenter hears of it: one call at the next refresh after
// each request.
#include <QObject>
#include <chrono>
#include <functional>

class QTimer;
class QScreen;
class QWindow;

namespace quillon {

class RefreshClock {
public:
    virtual ~RefreshClock() = default;
    // onRefresh is called once, at the next refresh.
    virtual void requestRefresh() = 0;
    // A page put up at a refresh is on the screen only at the one after (a compositor
    // shows what a window hands it at its following repaint).
    virtual bool showsAtNextRefresh() const { return false; }
    std::function<void()> onRefresh;
};

// Refreshes when told: a card played off the screen at a frame rate of its own, or a test.
class ManualRefreshClock : public RefreshClock {
public:
    void requestRefresh() override { requested_ = true; }
    bool showsAtNextRefresh() const override { return late; }
    bool late = false;
    bool requested() const { return requested_; }
    // One refresh; false, doing nothing, when none was asked for.
    bool refresh() {
        if (!requested_)
            return false;
        requested_ = false;
        if (onRefresh)
            onRefresh();
        return true;
    }

private:
    bool requested_ = false;
};

// Paces by the screen's refresh rate on a precise timer. Refreshes fall on a grid of
// periods, as a display's vertical blanks do: a request made anywhere in a period is
// answered at its end. Nothing runs while nothing is asked.
class TimerRefreshClock : public QObject, public RefreshClock {
public:
    explicit TimerRefreshClock(double hz, QObject* parent = nullptr);
    void setRate(double hz);
    double periodMs() const { return periodMs_; }
    void requestRefresh() override;

    // The rate of a screen; 60 Hz when the screen does not say.
    static double rateOf(const QScreen* screen);

private:
    using Steady = std::chrono::steady_clock;
    QTimer* timer_;
    Steady::time_point origin_;
    double periodMs_ = 1000.0 / 60.0;
};

// Paced by the window system itself where it says when a window may draw its next frame
// (Wayland's frame callbacks, through QWindow::requestUpdate): a real refresh signal.
// The signal is never waited for blindly: a compositor sends none to a window it does not
// show and may stop sending them at any time, so a window that is not exposed is paced
// by the screen's rate, and a request the window leaves unanswered for two periods is
// answered by that rate too, until the window answers again.
class WindowRefreshClock : public QObject, public RefreshClock {
public:
    WindowRefreshClock(QWindow* window, double hz);
    void setRate(double hz);
    void requestRefresh() override;
    bool showsAtNextRefresh() const override;
    // Whether the window's signal paces the pages (false while it is quiet).
    bool followsWindow() const { return !quiet_; }

    // Whether the platform the program runs on gives such a signal.
    static bool available();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer();

    QWindow* window_;
    TimerRefreshClock own_;
    QTimer* watchdog_;
    bool asked_ = false;   // the window was asked and has not answered
    bool pending_ = false; // a request nobody has answered yet
    bool quiet_ = false;   // the window let its last request run out
};

} // namespace quillon
