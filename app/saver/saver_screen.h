#pragma once
// Where the screen saver's cards are seen: a window of its own (full screen or not), or
// a view inside another program's window. The pages follow the window's size: when it
// changes they are made anew at the new size, and whoever draws on them is told.
#include "app/saver/saver_options.h"
#include "platform/display/refresh_clock.h"

#include <QSize>
#include <functional>
#include <memory>

class QTimer;

namespace quillon {

class FlipPages;
class ForeignWindow;
class PageView;
class ResizablePages;

class SaverScreen {
public:
    // Raises an error with a message when the window to draw into cannot be used.
    explicit SaverScreen(const SaverOptions& options);
    ~SaverScreen();
    SaverScreen(const SaverScreen&) = delete;
    SaverScreen& operator=(const SaverScreen&) = delete;

    FlipPages& pages();
    void show();

    // The pages were made anew at another size and are black: draw what belongs there.
    std::function<void()> OnPagesRemade;
    // The other program's window went away.
    std::function<void()> OnGone;

    // The display mode the cards are laid out in.
    static constexpr int ModeWidth = 640;
    static constexpr int ModeHeight = 480;

private:
    void makeViewIn(uint32_t windowId);
    void makeViewOfItsOwn();
    void follow(QSize pixels);
    void rescale();

    const SaverOptions::Target target_;
    std::unique_ptr<ForeignWindow> foreign_;
    std::unique_ptr<PageView> view_;
    TimerRefreshClock refresh_;
    std::unique_ptr<ResizablePages> pages_;
    double wantedScale_ = 0;
    QTimer* retry_;
};

} // namespace quillon
