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
    std::function<void()> onRefresh;
};

// Refreshes when told: a card played off the screen at a frame rate of its own, or a test.
class ManualRefreshClock : public RefreshClock {
public:
    void requestRefresh() override { requested_ = true; }
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
class WindowRefreshClock : public QObject, public RefreshClock {
public:
    explicit WindowRefreshClock(QWindow* window);
    void requestRefresh() override;

    // Whether the platform the program runs on gives such a signal.
    static bool available();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWindow* window_;
    bool requested_ = false;
};

} // namespace quillon
