#pragma once
// Pages a title card draws on: a back page to draw, a flip that shows it, and word of
// when what was flipped has reached the screen. The component on a window, and pages
// held in memory (for a card played off the screen), both offer them.
#include <functional>

namespace quillon {

class TDirectDrawSurface;

class FlipPages {
public:
    virtual ~FlipPages() = default;
    // A back page can be drawn now (restoring lost pages first).
    virtual bool ReadyToDraw() = 0;
    virtual TDirectDrawSurface* BackSurface() const = 0;
    // Shows the back page; the page shown before becomes the back page.
    virtual void Flip() = 0;
    // The size the layout measures, in the display mode's coordinates.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Runs then once every page flipped so far is on the screen; at once when none waits.
    virtual void whenShown(std::function<void()> then) = 0;
    // Drops what waits for whenShown: the card that asked is gone.
    virtual void forgetWaiting() = 0;
};

} // namespace quillon
