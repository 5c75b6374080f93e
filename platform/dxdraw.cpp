// Placeholder until the software display device lands: a black full-screen widget.
#include "platform/dxdraw.h"

#include <QPainter>

namespace quillon {

namespace {
TDirectDrawSurface surface;
TDirectDrawSurfaceCanvas canvas;
bool initialized = false;
TDXDrawOptions options = 0;
} // namespace

void TDirectDrawSurfaceCanvas::setBrushClear() {}
void TDirectDrawSurfaceCanvas::setFontColor(const QColor&) {}
void TDirectDrawSurfaceCanvas::setFontName(const QString&) {}
void TDirectDrawSurfaceCanvas::setFontCharset(int) {}
void TDirectDrawSurfaceCanvas::setFontHeight(int) {}
int TDirectDrawSurfaceCanvas::TextWidth(const QByteArray& s) { return static_cast<int>(s.size()) * 10; }
void TDirectDrawSurfaceCanvas::TextOut(int, int, const QByteArray&) {}
void TDirectDrawSurfaceCanvas::Release() {}
bool TDirectDrawSurface::ColorFill(uint32_t) { return true; }
TDirectDrawSurfaceCanvas* TDirectDrawSurface::Canvas() { return &canvas; }
int TDirectDrawSurface::Width() const { return 640; }
int TDirectDrawSurface::Height() const { return 480; }

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }
TDXDraw::~TDXDraw() = default;
TDXDrawOptions TDXDraw::Options() const { return options; }
void TDXDraw::setOptions(TDXDrawOptions o) { options = o; }
TDXDrawOptions TDXDraw::EffectiveOptions() const { return options; }
void TDXDraw::Initialize() {
    initialized = true;
    if (options & optionBit(doFullScreen))
        window()->showFullScreen();
    setGeometry(window()->rect());
}
void TDXDraw::Finalize() { initialized = false; }
bool TDXDraw::Initialized() const { return initialized; }
bool TDXDraw::ReadyToDraw() { return initialized; }
void TDXDraw::Flip() {}
TDirectDrawSurface* TDXDraw::BackSurface() { return initialized ? &surface : nullptr; }
int TDXDraw::Width() const { return 640; }
int TDXDraw::Height() const { return 480; }

} // namespace quillon
