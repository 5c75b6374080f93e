#pragma once
// How the drawing component's back surface reaches the screen: a flip chain in full
// screen, or a blit to the primary at the control's place in a window.
namespace quillon {

class TCustomDXDraw;

// How the back surface reaches the screen.
class TDXDrawDriver {
public:
    // Creates the DirectDraw object.
    explicit TDXDrawDriver(TCustomDXDraw& owner);
    // Frees the clipper, the palette, the back and primary surfaces, then DirectDraw.
    virtual ~TDXDrawDriver();
    TDXDrawDriver(const TDXDrawDriver&) = delete;
    TDXDrawDriver& operator=(const TDXDrawDriver&) = delete;
    virtual void Initialize() = 0;
    virtual void Flip() = 0;
    // Resizes the surfaces to the control; false when the strategy keeps their size.
    virtual bool setSize(int width, int height) = 0;

protected:
    TCustomDXDraw& owner_;
};

// Exclusive full-screen: a primary surface with one back buffer, exchanged by Flip.
class TDXDrawDriverFlip : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;
    void Initialize() override;
    void Flip() override;
    bool setSize(int, int) override { return false; }
};

// Windowed: an off-screen back surface blitted to the primary at the control's place.
class TDXDrawDriverBlt : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;
    void Initialize() override;
    void Flip() override;
    bool setSize(int width, int height) override;

private:
    void createBackSurface();
};

} // namespace quillon
