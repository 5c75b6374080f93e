#pragma once
// A surface of the DirectDraw object and the GDI-like canvas that draws text on its page.
#include "platform/display/directdraw.h"
#include "platform/display/text_stamps.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <memory>

class QPainter;

namespace quillon {

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
    int fontHeight() const { return fontHeight_; }
    int textWidth(const QByteArray& sjisText);
    // The width without taking the device context, for drawing ahead.
    int measureText(const QByteArray& sjisText);
    void textOut(int x, int y, const QByteArray& sjisText);
    // Draws the text as textOut at (x, y) would, with the attributes set now, ahead of
    // time and off the page; textOut copies it when it comes to that, on black.
    void prepareText(int x, int y, const QByteArray& sjisText);
    void Release(); // ReleaseCanvas
    bool handleAllocated() const { return dc_ != nullptr; }
    // The font the attributes resolve to.
    const QFont& Font();

private:
    QPainter* handle();
    TextPlacement placement(int x, int y, const QByteArray& sjisText);

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
    TextStamps stamps_;
};

class TDirectDrawSurface : public TDirectX {
public:
    explicit TDirectDrawSurface(TDirectDraw& draw);
    ~TDirectDrawSurface() override;

    bool CreateSurface(const ddraw::SurfaceDesc& desc);
    // Takes the surface attached with these capabilities; without one, no interface.
    bool takeAttachedSurface(TDirectDrawSurface& from, uint32_t caps);
    bool hasInterface() const { return surface_ != nullptr; }
    // The interface; raises when it has not been created.
    ddraw::Surface& surfaceInterface();

    bool ColorFill(uint32_t color);
    bool Blt(const QRect* dest, TDirectDrawSurface* source, uint32_t flags);
    bool Flip();
    bool IsLost();
    bool Restore();
    void SetPalette(TDirectDrawPalette* palette);
    void SetClipper(TDirectDrawClipper* clipper);
    bool inSystemMemory() const;
    TDirectDrawSurfaceCanvas* Canvas();
    int Width() const { return static_cast<int>(desc_.dwWidth); }
    int Height() const { return static_cast<int>(desc_.dwHeight); }
    // The page the surface shows or draws on; null without an interface.
    const QImage* page() const;

private:
    friend class TDirectDrawSurfaceCanvas;
    void setSurface(std::shared_ptr<ddraw::Surface> surface);

    TDirectDraw& draw_;
    std::shared_ptr<ddraw::Surface> surface_;
    ddraw::SurfaceDesc desc_;
    std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
};

} // namespace quillon
