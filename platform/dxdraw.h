#pragma once
// The full-screen drawing component over our own software display device.
// (Public interface; the implementation may add private members.)
#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace quillon {

enum TDXDrawOption : int {
    doFullScreen = 0,
    doNoWindowChange,
    doAllowReboot,
    doWaitVBlank,
    doAllowPalette256,
    doSystemMemory,
    doStretch,
    doCenter,
    doFlip,
    do3D,
    doDirectX7Mode,
    doRetainedMode,
    doHardware,
    doSelectDriver,
    doZBuffer,
};
using TDXDrawOptions = uint16_t; // member n at bit n
constexpr TDXDrawOptions optionBit(TDXDrawOption o) { return static_cast<TDXDrawOptions>(1u << o); }

class TDirectDrawSurface;

// GDI-like canvas on a surface's page.
class TDirectDrawSurfaceCanvas {
public:
    void setBrushClear();
    void setFontColor(const QColor& color);
    void setFontName(const QString& face);
    void setFontCharset(int charset);
    // Positive: the height of the character cell (ascent + descent, leading included).
    // 0: the font's default size.
    void setFontHeight(int height);
    int TextWidth(const QByteArray& sjisText);
    void TextOut(int x, int y, const QByteArray& sjisText);
    void Release(); // ReleaseCanvas
};

class TDirectDrawSurface {
public:
    bool ColorFill(uint32_t color);
    TDirectDrawSurfaceCanvas* Canvas();
    int Width() const;
    int Height() const;
};

class TDXDraw : public QWidget {
public:
    explicit TDXDraw(QWidget* parent);
    ~TDXDraw() override;

    TDXDrawOptions Options() const;
    void setOptions(TDXDrawOptions options);
    TDXDrawOptions EffectiveOptions() const;

    void Initialize();
    void Finalize();
    bool Initialized() const;
    bool ReadyToDraw();
    void Flip();
    TDirectDrawSurface* BackSurface();

    // The size the title layout measures: the display mode's size while initialised
    // full-screen, otherwise the control's own size.
    int Width() const;
    int Height() const;

    // Input handlers; a move fires only on a real change of the pointer's position.
    std::function<void(Qt::MouseButton)> OnMouseUp;
    std::function<void()> OnMouseMove;
};

} // namespace quillon
