#pragma once
// The full-screen drawing component over our own software display device: the DirectDraw
// wrappers, the component TDXDraw with its display modes and its two presentation
// strategies, and the widget that puts the front page on the screen.
#include "platform/display/ddraw_device.h"
#include "platform/core/directx.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

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
constexpr TDXDrawOptions optionBit(TDXDrawOption o) {
    return static_cast<TDXDrawOptions>(1u << o);
}

// --- errors ---

class EDirectDrawError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};
class EDirectDrawSurfaceError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};
class EDirectDrawClipperError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};
class EDXDrawError : public Exception {
public:
    using Exception::Exception;
};

using TColorTable = std::array<ddraw::PaletteEntry, 256>;
// The system palette's 256 entries: the twenty static colours at both ends.
const TColorTable& systemPalette();

class TDirectDrawSurface;
class TDirectDrawPalette;
class TDirectDrawClipper;

// --- the DirectDraw object ---

class TDirectDraw : public TDirectX {
public:
    // Creates the object on the program's display device. Raises "%s を読み込めません",
    // "%s を初期化できません" or the version errors.
    explicit TDirectDraw(bool directX7Mode);
    ~TDirectDraw() override;
    TDirectDraw(const TDirectDraw&) = delete;
    TDirectDraw& operator=(const TDirectDraw&) = delete;

    // The interface; raises when it has not been created.
    ddraw::DirectDraw& IDraw();
    const ddraw::Caps& DriverCaps() const { return driverCaps_; }
    const ddraw::Caps& HELCaps() const { return helCaps_; }
    bool SetCooperativeLevel(const void* window, uint32_t flags);
    bool SetDisplayMode(int width, int height, int bits);
    std::vector<ddraw::SurfaceDesc> EnumDisplayModes();
    bool WaitForVerticalBlank(uint32_t flags);
    bool FlipToGDISurface();

private:
    friend class TDirectDrawSurface;
    friend class TDirectDrawPalette;
    friend class TDirectDrawClipper;
    std::shared_ptr<ddraw::DirectDraw> draw_;
    ddraw::Caps driverCaps_;
    ddraw::Caps helCaps_;
    // What was made through this object; freed with it, surfaces first.
    std::vector<TDirectDrawSurface*> surfaces_;
    std::vector<TDirectDrawPalette*> palettes_;
    std::vector<TDirectDrawClipper*> clippers_;
};

// GDI-like canvas on a surface's page. Its device context comes from the surface the
// first time a handle is needed and goes back with Release.
class TDirectDrawSurfaceCanvas {
public:
    explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface) : surface_(surface) {}
    ~TDirectDrawSurfaceCanvas();

    void setBrushClear();
    void setBrushColor(const QColor& color);
    void setFontColor(const QColor& color);
    void setFontName(const QString& face);
    void setFontCharset(int charset);
    // Positive: the height of the character cell (ascent + descent, leading included).
    // Negative: the em height. 0: the font's default size.
    void setFontHeight(int height);
    int FontHeight() const { return fontHeight_; }
    int TextWidth(const QByteArray& sjisText);
    void TextOut(int x, int y, const QByteArray& sjisText);
    void Release(); // ReleaseCanvas
    bool HandleAllocated() const { return dc_ != nullptr; }
    // The font the attributes resolve to.
    const QFont& Font();

private:
    QPainter* handle();

    TDirectDrawSurface& surface_;
    QPainter* dc_ = nullptr;
    bool brushClear_ = false;
    QColor brushColor_ = Qt::white;
    QColor fontColor_ = Qt::black;
    QString face_ = QStringLiteral("ＭＳ 明朝");
    int charset_ = 1;
    int fontHeight_ = 0;
    bool fontDirty_ = true;
    QFont font_;
};

class TDirectDrawSurface : public TDirectX {
public:
    explicit TDirectDrawSurface(TDirectDraw& draw);
    ~TDirectDrawSurface() override;
    TDirectDrawSurface(const TDirectDrawSurface&) = delete;
    TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

    bool CreateSurface(const ddraw::SurfaceDesc& desc);
    // Takes the surface attached with these capabilities; without one, no interface.
    bool TakeAttachedSurface(TDirectDrawSurface& from, uint32_t caps);
    bool HasInterface() const { return surface_ != nullptr; }
    // The interface; raises when it has not been created.
    ddraw::Surface& ISurface();

    bool ColorFill(uint32_t color);
    bool Blt(const QRect* dest, TDirectDrawSurface* source, uint32_t flags);
    bool Flip();
    bool IsLost();
    bool Restore();
    void SetPalette(TDirectDrawPalette* palette);
    void SetClipper(TDirectDrawClipper* clipper);
    bool InSystemMemory() const;
    TDirectDrawSurfaceCanvas* Canvas();
    int Width() const { return static_cast<int>(desc_.dwWidth); }
    int Height() const { return static_cast<int>(desc_.dwHeight); }
    // The page the surface shows or draws on; null without an interface.
    const QImage* Page() const;

private:
    friend class TDirectDrawSurfaceCanvas;
    void setSurface(std::shared_ptr<ddraw::Surface> surface);

    TDirectDraw& draw_;
    std::shared_ptr<ddraw::Surface> surface_;
    ddraw::SurfaceDesc desc_;
    std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
};

class TDirectDrawPalette : public TDirectX {
public:
    explicit TDirectDrawPalette(TDirectDraw& draw);
    ~TDirectDrawPalette() override;
    bool CreatePalette(uint32_t caps, const TColorTable& entries);
    bool SetEntries(const TColorTable& entries);
    std::shared_ptr<ddraw::Palette> IPalette() const { return palette_; }

private:
    TDirectDraw& draw_;
    std::shared_ptr<ddraw::Palette> palette_;
};

class TDirectDrawClipper : public TDirectX {
public:
    // Raises "%s を作成できません" ("クリッパー") when the clipper cannot be made.
    explicit TDirectDrawClipper(TDirectDraw& draw);
    ~TDirectDrawClipper() override;
    bool SetHandle(const void* window);
    std::shared_ptr<ddraw::Clipper> IClipper() const { return clipper_; }

private:
    TDirectDraw& draw_;
    std::shared_ptr<ddraw::Clipper> clipper_;
};

// --- the component ---

class TCustomDXDraw;

class TDXDrawDisplayMode {
public:
    explicit TDXDrawDisplayMode(const ddraw::SurfaceDesc& desc) : SurfaceDesc(desc) {}
    int Width() const { return static_cast<int>(SurfaceDesc.dwWidth); }
    int Height() const { return static_cast<int>(SurfaceDesc.dwHeight); }
    int BitCount() const { return static_cast<int>(SurfaceDesc.dwRGBBitCount); }
    ddraw::SurfaceDesc SurfaceDesc;
};

class TDXDrawDisplay {
public:
    explicit TDXDrawDisplay(TCustomDXDraw& owner) : owner_(owner) {}

    int Width() const { return width_; }
    void setWidth(int value) { width_ = value < 0 ? 0 : value; }
    int Height() const { return height_; }
    void setHeight(int value) { height_ = value < 0 ? 0 : value; }
    int BitCount() const { return bitCount_; }
    // Raises for anything but 8, 16, 24 or 32.
    void setBitCount(int value);
    bool FixedBitCount = true;
    bool FixedRatio = true;
    bool FixedSize = false;

    // The enumerated modes, sorted; enumerated on first use.
    int Count();
    const TDXDrawDisplayMode& Modes(int index);
    bool ModesEnumerated() const { return enumerated_; }
    void DropModes();

    bool ChangeMode(int width, int height, int bits);
    bool TrySetMode(int width, int height, int bits);

private:
    void loadModes();
    bool searchMode(int width, int height, int bits, bool ratioTest);
    bool hasMode(int width, int height, int bits);

    TCustomDXDraw& owner_;
    int width_ = 640;
    int height_ = 480;
    int bitCount_ = 8;
    bool enumerated_ = false;
    std::vector<TDXDrawDisplayMode> modes_;
};

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
    virtual bool SetSize(int width, int height) = 0;

protected:
    TCustomDXDraw& owner_;
};

// Exclusive full-screen: a primary surface with one back buffer, exchanged by Flip.
class TDXDrawDriverFlip : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;
    void Initialize() override;
    void Flip() override;
    bool SetSize(int, int) override { return false; }
};

// Windowed: an off-screen back surface blitted to the primary at the control's place.
class TDXDrawDriverBlt : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;
    void Initialize() override;
    void Flip() override;
    bool SetSize(int width, int height) override;

private:
    void createBackSurface();
};

using TDXDrawEvent = std::function<void(TCustomDXDraw* sender)>;

class TCustomDXDraw : public QWidget {
public:
    explicit TCustomDXDraw(QWidget* parent);
    ~TCustomDXDraw() override;

    TDXDrawOptions Options() const { return options_; }
    void setOptions(TDXDrawOptions options);
    TDXDrawOptions EffectiveOptions() const { return effective_; }
    bool AutoInitialize() const { return autoInitialize_; }
    void setAutoInitialize(bool value) { autoInitialize_ = value; }
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool value) { autoSize_ = value; }
    // The back surface's size while it exists, otherwise the stored values.
    int SurfaceWidth() const;
    int SurfaceHeight() const;
    void setSurfaceWidth(int value) { surfaceWidth_ = value; }
    void setSurfaceHeight(int value) { surfaceHeight_ = value; }
    TDXDrawDisplay& Display() { return display_; }

    void Initialize();
    void Finalize();
    bool Initialized() const { return initialized_; }
    bool ReadyToDraw();
    void Flip();
    bool CheckSurfaces();
    void RestoreSurfaces();
    void FlipToGDISurface();

    TDirectDraw* DDraw() const { return ddraw_; }
    TDXDrawDriver* Driver() const { return driver_.get(); }
    TDirectDrawSurface* PrimarySurface() const { return primary_; }
    TDirectDrawSurface* BackSurface() const { return back_; }
    TDirectDrawClipper* Clipper() const { return clipper_; }
    TDirectDrawPalette* Palette() const { return palette_; }
    TColorTable ColorTable;
    TColorTable DefColorTable;
    // The palette entries built from a colour table.
    TColorTable PaletteEntries(const TColorTable& table) const;

    // The size the title layout measures: the display mode's size while initialised
    // full-screen, otherwise the control's own size.
    int Width() const;
    int Height() const;
    QWidget* ParentForm() const { return form_; }

    TDXDrawEvent OnInitializing, OnInitialize, OnInitializeSurface;
    TDXDrawEvent OnFinalize, OnFinalizeSurface, OnRestoreSurface;
    // Input; a move fires only on a real change of the pointer's position.
    std::function<void(Qt::MouseButton)> OnMouseUp;
    std::function<void()> OnMouseMove;

    // Puts a page on a painter's target, scaled with its aspect ratio kept, black around.
    static void PaintPage(QPainter& painter, const QRect& target, const QImage& page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TDXDrawDriver;
    friend class TDXDrawDriverFlip;
    friend class TDXDrawDriverBlt;
    void recomputeEffectiveOptions();
    void hookParentForm();
    void setCooperativeLevel();
    void takeOverScreen();
    bool formIsActive() const;
    void fire(const TDXDrawEvent& event) {
        if (event)
            event(this);
    }

    TDXDrawOptions options_ = 0x348C;
    TDXDrawOptions effective_ = 0;
    bool autoInitialize_ = true;
    bool autoSize_ = true;
    int surfaceWidth_ = 640;
    int surfaceHeight_ = 480;
    TDXDrawDisplay display_;
    std::unique_ptr<TDXDrawDriver> driver_;
    TDirectDraw* ddraw_ = nullptr;
    TDirectDrawSurface* primary_ = nullptr;
    TDirectDrawSurface* back_ = nullptr;
    TDirectDrawClipper* clipper_ = nullptr;
    TDirectDrawPalette* palette_ = nullptr;
    QPointer<QWidget> form_;
    bool initialized_ = false;
    bool requested_ = false;
    bool updating_ = false;
    bool initializeFired_ = false;
    bool initializeSurfaceFired_ = false;
    QPoint lastPointer_;
};

class TDXDraw : public TCustomDXDraw {
public:
    explicit TDXDraw(QWidget* parent);
};

// Whether the parent form counts as the active window; tests may pin the answer.
void setFormActiveForTesting(int state); // -1: ask the window system, 0: inactive, 1: active

} // namespace quillon
