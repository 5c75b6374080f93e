// The drawing component: options, display modes, the two presentation strategies, the
// hooks on the parent form, and the widget that shows the front page.
#include "platform/display/dxdraw.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <exception>

namespace quillon {

namespace {

constexpr TDXDrawOptions keptWhileInitialized = 0x7F37;

int formActiveOverride = -1;

bool has(TDXDrawOptions options, TDXDrawOption o) {
    return (options & optionBit(o)) != 0;
}

TDXDrawOptions without(TDXDrawOptions options, std::initializer_list<TDXDrawOption> list) {
    for (TDXDrawOption o : list)
        options = static_cast<TDXDrawOptions>(options & ~optionBit(o));
    return options;
}

TDXDrawOptions with(TDXDrawOptions options, TDXDrawOption o, bool on) {
    return on ? static_cast<TDXDrawOptions>(options | optionBit(o)) : without(options, {o});
}

// Clears a flag when the scope ends, however it ends.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

EDXDrawError cannotCreate(const QString& what) {
    return EDXDrawError(formatMessage(QStringLiteral("%s を作成できません"), {what}));
}

} // namespace

void setFormActiveForTesting(int state) {
    formActiveOverride = state;
}

// --- TDXDrawDisplay ---

void TDXDrawDisplay::setBitCount(int value) {
    if (value != 8 && value != 16 && value != 24 && value != 32)
        throw EDirectDrawError(QStringLiteral("8, 16, 24, 32 のいずれかの値でなければなりません"));
    bitCount_ = value;
}

void TDXDrawDisplay::loadModes() {
    if (enumerated_)
        return;
    std::vector<ddraw::SurfaceDesc> descs;
    if (TDirectDraw* draw = owner_.DDraw()) {
        descs = draw->EnumDisplayModes();
    } else {
        TDirectDraw temporary(false);
        descs = temporary.EnumDisplayModes();
    }
    modes_.clear();
    for (const ddraw::SurfaceDesc& d : descs)
        modes_.emplace_back(d);
    std::stable_sort(modes_.begin(), modes_.end(), [](const auto& a, const auto& b) {
        return std::tuple(a.Width(), a.Height(), a.BitCount()) <
               std::tuple(b.Width(), b.Height(), b.BitCount());
    });
    enumerated_ = true;
}

int TDXDrawDisplay::Count() {
    loadModes();
    return static_cast<int>(modes_.size());
}

const TDXDrawDisplayMode& TDXDrawDisplay::Modes(int index) {
    loadModes();
    return modes_.at(static_cast<size_t>(index));
}

void TDXDrawDisplay::DropModes() {
    modes_.clear();
    enumerated_ = false;
}

bool TDXDrawDisplay::TrySetMode(int width, int height, int bits) {
    TDirectDraw* draw = owner_.DDraw();
    if (!draw || !draw->SetDisplayMode(width, height, bits))
        return false;
    width_ = width;
    height_ = height;
    bitCount_ = bits;
    return true;
}

bool TDXDrawDisplay::hasMode(int width, int height, int bits) {
    return std::any_of(modes_.begin(), modes_.end(), [&](const TDXDrawDisplayMode& m) {
        return m.Width() == width && m.Height() == height && m.BitCount() == bits;
    });
}

bool TDXDrawDisplay::searchMode(int width, int height, int bits, bool ratioTest) {
    loadModes();
    int bestWidth = INT32_MAX;
    int bestHeight = INT32_MAX;
    int bestBits = bits;
    bool found = false;
    const long double ratio = static_cast<long double>(width) / height;
    for (const TDXDrawDisplayMode& m : modes_) {
        if (m.Width() > bestWidth || m.Height() > bestHeight)
            continue;
        if (m.Height() <= 0)
            continue;
        if (ratioTest && static_cast<long double>(m.Width()) / m.Height() != ratio)
            continue;
        if (FixedSize) {
            if (m.Width() != width || m.Height() != height)
                continue;
        } else if (m.Width() < width || m.Height() < height) {
            continue;
        }
        if (FixedBitCount) {
            if (m.BitCount() != bits)
                continue;
        } else if (!((m.BitCount() > 8 && bits > 8) || m.BitCount() >= bits)) {
            continue;
        }
        bestWidth = m.Width();
        bestHeight = m.Height();
        bestBits = m.BitCount();
        found = true;
    }
    if (!found)
        return false;
    if (bestBits != bits && hasMode(bestWidth, bestHeight, bits))
        bestBits = bits;
    return TrySetMode(bestWidth, bestHeight, bestBits);
}

bool TDXDrawDisplay::ChangeMode(int width, int height, int bits) {
    if (width <= 0 || height <= 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return false;
    if (TrySetMode(width, height, bits))
        return true;
    if (FixedRatio && searchMode(width, height, bits, true))
        return true;
    return searchMode(width, height, bits, false);
}

// --- the presentation strategies ---

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw& owner) : owner_(owner) {
    owner_.ddraw_ = new TDirectDraw(has(owner_.Options(), doDirectX7Mode));
}

TDXDrawDriver::~TDXDrawDriver() {
    delete owner_.clipper_;
    owner_.clipper_ = nullptr;
    delete owner_.palette_;
    owner_.palette_ = nullptr;
    delete owner_.back_;
    owner_.back_ = nullptr;
    delete owner_.primary_;
    owner_.primary_ = nullptr;
    delete owner_.ddraw_;
    owner_.ddraw_ = nullptr;
}

void TDXDrawDriverFlip::Initialize() {
    TDirectDraw& draw = *owner_.ddraw_;
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE | ddraw::DDSCAPS_FLIP | ddraw::DDSCAPS_COMPLEX;
    if (has(owner_.effective_, do3D))
        desc.dwCaps |= ddraw::DDSCAPS_3DDEVICE;
    owner_.primary_ = new TDirectDrawSurface(draw);
    if (!owner_.primary_->CreateSurface(desc))
        throw cannotCreate(QStringLiteral("プライマリサーフェース"));

    owner_.back_ = new TDirectDrawSurface(draw);
    owner_.back_->TakeAttachedSurface(*owner_.primary_, ddraw::DDSCAPS_BACKBUFFER);
    owner_.effective_ = with(owner_.effective_, doSystemMemory, owner_.back_->InSystemMemory());

    owner_.clipper_ = new TDirectDrawClipper(draw);
    owner_.palette_ = new TDirectDrawPalette(draw);
    uint32_t caps = ddraw::DDPCAPS_8BIT;
    if (has(owner_.Options(), doAllowPalette256))
        caps |= ddraw::DDPCAPS_ALLOW256;
    owner_.palette_->CreatePalette(caps, owner_.PaletteEntries(owner_.ColorTable));
    owner_.primary_->SetPalette(owner_.palette_);
    owner_.back_->SetPalette(owner_.palette_);
}

void TDXDrawDriverFlip::Flip() {
    // A form in the background must not take the screen.
    if (!owner_.formIsActive())
        return;
    owner_.primary_->Flip();
    owner_.update(); // presented at the next paint, without waiting here
}

void TDXDrawDriverBlt::Initialize() {
    TDirectDraw& draw = *owner_.ddraw_;
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS;
    desc.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE;
    owner_.primary_ = new TDirectDrawSurface(draw);
    if (!owner_.primary_->CreateSurface(desc))
        throw cannotCreate(QStringLiteral("プライマリサーフェース"));

    owner_.clipper_ = new TDirectDrawClipper(draw);
    owner_.clipper_->SetHandle(&owner_);
    owner_.primary_->SetClipper(owner_.clipper_);

    owner_.palette_ = new TDirectDrawPalette(draw);
    uint32_t caps = ddraw::DDPCAPS_8BIT | ddraw::DDPCAPS_PRIMARYSURFACE;
    if (has(owner_.effective_, doAllowPalette256))
        caps |= ddraw::DDPCAPS_ALLOW256;
    owner_.palette_->CreatePalette(caps, owner_.PaletteEntries(owner_.ColorTable));
    owner_.primary_->SetPalette(owner_.palette_);

    createBackSurface();
}

void TDXDrawDriverBlt::createBackSurface() {
    TDirectDraw& draw = *owner_.ddraw_;
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_HEIGHT | ddraw::DDSD_WIDTH;
    desc.dwCaps = ddraw::DDSCAPS_OFFSCREENPLAIN;
    if (has(owner_.Options(), doSystemMemory))
        desc.dwCaps |= ddraw::DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = static_cast<uint32_t>(std::max(1, owner_.surfaceWidth_));
    desc.dwHeight = static_cast<uint32_t>(std::max(1, owner_.surfaceHeight_));

    if (!owner_.back_)
        owner_.back_ = new TDirectDrawSurface(draw);
    if (!owner_.back_->CreateSurface(desc)) {
        desc.dwCaps |= ddraw::DDSCAPS_SYSTEMMEMORY;
        if (!owner_.back_->CreateSurface(desc))
            throw cannotCreate(QStringLiteral("サーフェース"));
    }
    owner_.effective_ = with(owner_.effective_, doSystemMemory, owner_.back_->InSystemMemory());
    owner_.back_->SetPalette(owner_.palette_);
    owner_.back_->ColorFill(0);
}

void TDXDrawDriverBlt::Flip() {
    const QPoint origin = owner_.mapToGlobal(QPoint(0, 0));
    QRect dest;
    if (has(owner_.effective_, doStretch)) {
        dest = QRect(origin, owner_.size());
    } else {
        QPoint at = origin;
        if (has(owner_.effective_, doCenter))
            at += QPoint((owner_.width() - owner_.back_->Width()) / 2,
                         (owner_.height() - owner_.back_->Height()) / 2);
        dest = QRect(at, QSize(owner_.back_->Width(), owner_.back_->Height()));
    }
    if (has(owner_.effective_, doWaitVBlank))
        owner_.ddraw_->WaitForVerticalBlank(ddraw::DDWAITVB_BLOCKBEGIN);
    owner_.primary_->Blt(&dest, owner_.back_, ddraw::DDBLT_WAIT);
    owner_.update();
}

bool TDXDrawDriverBlt::SetSize(int width, int height) {
    owner_.surfaceWidth_ = width;
    owner_.surfaceHeight_ = height;
    owner_.initializeSurfaceFired_ = false;
    owner_.fire(owner_.OnFinalizeSurface);
    createBackSurface();
    owner_.fire(owner_.OnInitializeSurface);
    owner_.initializeSurfaceFired_ = true;
    return true;
}

// --- TCustomDXDraw ---

TCustomDXDraw::TCustomDXDraw(QWidget* parent) : QWidget(parent), display_(*this) {
    ColorTable = systemPalette();
    DefColorTable = ColorTable;
    resize(100, 100);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    recomputeEffectiveOptions();
    hookParentForm();
    lastPointer_ = QCursor::pos();
}

TCustomDXDraw::~TCustomDXDraw() {
    if (form_)
        form_->removeEventFilter(this);
    Finalize();
}

void TCustomDXDraw::setOptions(TDXDrawOptions options) {
    options_ = options;
    recomputeEffectiveOptions();
}

void TCustomDXDraw::recomputeEffectiveOptions() {
    if (initialized_) {
        effective_ = static_cast<TDXDrawOptions>((effective_ & keptWhileInitialized) |
                                                 (options_ & ~keptWhileInitialized));
        if (!has(effective_, do3D))
            effective_ =
                without(effective_, {doRetainedMode, doHardware, doSelectDriver, doZBuffer});
        return;
    }
    TDXDrawOptions e = options_;
    if (!has(e, doFullScreen))
        e = without(e, {doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip});
    if (!has(e, do3D))
        e = without(e, {doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer});
    if (has(e, doSystemMemory))
        e = without(e, {doFlip});
    if (has(e, doDirectX7Mode))
        e = without(e, {doRetainedMode});
    effective_ = without(e, {doHardware});
}

int TCustomDXDraw::SurfaceWidth() const {
    return back_ && back_->HasInterface() ? back_->Width() : surfaceWidth_;
}

int TCustomDXDraw::SurfaceHeight() const {
    return back_ && back_->HasInterface() ? back_->Height() : surfaceHeight_;
}

int TCustomDXDraw::Width() const {
    if (initialized_ && has(effective_, doFullScreen))
        return display_.Width();
    return QWidget::width();
}

int TCustomDXDraw::Height() const {
    if (initialized_ && has(effective_, doFullScreen))
        return display_.Height();
    return QWidget::height();
}

TColorTable TCustomDXDraw::PaletteEntries(const TColorTable& table) const {
    TColorTable entries = table;
    for (auto& e : entries)
        e.flags = 0x40;
    if (!has(options_, doAllowPalette256)) {
        const TColorTable& system = systemPalette();
        std::copy(system.begin(), system.begin() + 10, entries.begin());
        std::copy(system.end() - 10, system.end(), entries.end() - 10);
    }
    return entries;
}

void TCustomDXDraw::setCooperativeLevel() {
    uint32_t flags = ddraw::DDSCL_NORMAL;
    if (has(effective_, doFullScreen)) {
        flags = ddraw::DDSCL_FULLSCREEN | ddraw::DDSCL_EXCLUSIVE | ddraw::DDSCL_ALLOWMODEX;
        if (has(effective_, doNoWindowChange))
            flags |= ddraw::DDSCL_NOWINDOWCHANGES;
        if (has(effective_, doAllowReboot))
            flags |= ddraw::DDSCL_ALLOWREBOOT;
    }
    const QWidget* window = form_ ? form_.data() : this;
    ddraw_->SetCooperativeLevel(window, flags);
}

void TCustomDXDraw::Initialize() {
    requested_ = true;
    Finalize();
    if (!form_)
        throw EDXDrawError(QStringLiteral("フォームが見つかりません"));
    try {
        fire(OnInitializing);
        updating_ = true;
        if (has(effective_, doFlip))
            driver_ = std::make_unique<TDXDrawDriverFlip>(*this);
        else
            driver_ = std::make_unique<TDXDrawDriverBlt>(*this);
        setCooperativeLevel();
        if (has(effective_, doFullScreen) &&
            !display_.ChangeMode(display_.Width(), display_.Height(), display_.BitCount())) {
            throw EDXDrawError(formatMessage(
                QStringLiteral("ディスプレイモードを変更できません (%dx%d %dbit)"),
                {QString::number(display_.Width()), QString::number(display_.Height()),
                 QString::number(display_.BitCount())}));
        }
        if (autoSize_) {
            surfaceWidth_ = QWidget::width();
            surfaceHeight_ = QWidget::height();
        }
        driver_->Initialize();
        updating_ = false;
        initialized_ = true;
    } catch (...) {
        Finalize();
        throw;
    }
    initializeFired_ = true;
    fire(OnInitialize);
    initializeSurfaceFired_ = true;
    fire(OnInitializeSurface);
    RestoreSurfaces();
    if (has(effective_, doFullScreen))
        takeOverScreen();
}

// The mode is virtual: the form covers the real screen and the page is scaled onto it.
void TCustomDXDraw::takeOverScreen() {
    form_->showFullScreen();
    form_->raise();
    form_->activateWindow();
    setGeometry(form_->rect());
    lastPointer_ = QCursor::pos();
    update();
}

void TCustomDXDraw::Finalize() {
    if (!requested_)
        return;
    surfaceWidth_ = SurfaceWidth();
    surfaceHeight_ = SurfaceHeight();
    display_.DropModes();
    updating_ = true;
    std::exception_ptr raised;
    if (initializeSurfaceFired_) {
        initializeSurfaceFired_ = false;
        try {
            fire(OnFinalizeSurface);
        } catch (...) {
            raised = std::current_exception();
        }
    }
    if (initializeFired_) {
        initializeFired_ = false;
        try {
            fire(OnFinalize);
        } catch (...) {
            if (!raised)
                raised = std::current_exception();
        }
    }
    initialized_ = false;
    setOptions(options_);
    driver_.reset();
    updating_ = false;
    update();
    if (raised)
        std::rethrow_exception(raised);
}

bool TCustomDXDraw::CheckSurfaces() {
    if (!initialized_ || updating_ || !primary_ || !primary_->HasInterface())
        return false;
    const bool primaryLost = primary_->IsLost();
    const bool backLost = back_ && back_->IsLost();
    if (!primaryLost && !backLost)
        return true;
    RestoreSurfaces();
    return !primary_->IsLost() && primary_->LastResult() == ddraw::DD_OK &&
           !(back_ && back_->IsLost());
}

void TCustomDXDraw::RestoreSurfaces() {
    if (!initialized_ || updating_)
        return;
    FlagGuard updating(updating_);
    const bool primaryRestored = primary_ && primary_->Restore();
    const bool backRestored = back_ && back_->Restore();
    if (!primaryRestored || !backRestored)
        return;
    primary_->ColorFill(0);
    back_->ColorFill(0);
    primary_->SetPalette(palette_);
    back_->SetPalette(palette_);
    if (palette_)
        palette_->SetEntries(PaletteEntries(DefColorTable));
    fire(OnRestoreSurface);
    if (palette_)
        palette_->SetEntries(PaletteEntries(ColorTable));
}

bool TCustomDXDraw::ReadyToDraw() {
    return initialized_ && !updating_ && back_ && back_->HasInterface() && CheckSurfaces();
}

void TCustomDXDraw::Flip() {
    if (initialized_ && !updating_ && CheckSurfaces())
        driver_->Flip();
}

void TCustomDXDraw::FlipToGDISurface() {
    if (initialized_ && has(effective_, doFullScreen) && has(effective_, doFlip))
        ddraw_->FlipToGDISurface();
}

bool TCustomDXDraw::formIsActive() const {
    if (formActiveOverride >= 0)
        return formActiveOverride == 1;
    return form_ && QApplication::activeWindow() == form_;
}

void TCustomDXDraw::hookParentForm() {
    QWidget* form = parentWidget() ? window() : nullptr;
    if (form == form_)
        return;
    if (form_)
        form_->removeEventFilter(this);
    form_ = form;
    if (form_) {
        form_->installEventFilter(this);
        setGeometry(form_->rect());
    }
}

bool TCustomDXDraw::eventFilter(QObject* watched, QEvent* event) {
    if (watched != form_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
        // The form's first show brings the component up in its window.
        if (autoInitialize_ && !requested_)
            Initialize();
        break;
    case QEvent::WindowDeactivate:
        FlipToGDISurface();
        break;
    case QEvent::Resize:
        if (parentWidget() == form_)
            setGeometry(form_->rect());
        break;
    default:
        break;
    }
    return false;
}

bool TCustomDXDraw::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        hookParentForm();
    return QWidget::event(event);
}

void TCustomDXDraw::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!autoSize_ || updating_)
        return;
    if (initialized_) {
        FlagGuard updating(updating_);
        driver_->SetSize(QWidget::width(), QWidget::height());
    } else {
        surfaceWidth_ = QWidget::width();
        surfaceHeight_ = QWidget::height();
    }
}

namespace {

// The smallest rectangle holding every pixel of the page that is not black (0); empty
// for an all-black page. Cards are mostly black, so only this part needs scaling.
QRect litArea(const QImage& page) {
    const int width = page.width();
    const qsizetype rowBytes = static_cast<qsizetype>(width) * page.depth() / 8;
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        const uchar* first = std::find_if(row, row + rowBytes, [](uchar b) { return b != 0; });
        if (first == row + rowBytes)
            continue;
        const auto last =
            std::find_if(std::make_reverse_iterator(row + rowBytes),
                         std::make_reverse_iterator(first), [](uchar b) { return b != 0; });
        const int bytesPerPixel = page.depth() / 8;
        left = std::min<int>(left, static_cast<int>(first - row) / bytesPerPixel);
        right = std::max<int>(right, static_cast<int>(last.base() - 1 - row) / bytesPerPixel);
        if (top < 0)
            top = y;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

void TCustomDXDraw::PaintPage(QPainter& painter, const QRect& target, const QImage& page) {
    painter.fillRect(target, Qt::black);
    if (page.isNull() || target.isEmpty())
        return;
    const QSize fitted = page.size().scaled(target.size(), Qt::KeepAspectRatio);
    const QRect area(target.x() + (target.width() - fitted.width()) / 2,
                     target.y() + (target.height() - fitted.height()) / 2, fitted.width(),
                     fitted.height());
    // Everything but the lit part of the page is black already; a margin of a few
    // pixels keeps the smoothing at the edges of the lit part exact.
    const QRect lit = litArea(page).adjusted(-2, -2, 2, 2).intersected(page.rect());
    if (lit.isEmpty())
        return;
    const double sx = double(area.width()) / page.width();
    const double sy = double(area.height()) / page.height();
    const QRectF to(area.x() + lit.x() * sx, area.y() + lit.y() * sy, lit.width() * sx,
                    lit.height() * sy);
    // Scaling from a 32-bit copy is several times faster than from the 16-bit page.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(to, page.copy(lit).convertToFormat(QImage::Format_RGB32));
}

void TCustomDXDraw::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage* page = primary_ ? primary_->Page() : nullptr;
    if (!initialized_ || !page) {
        painter.fillRect(rect(), Qt::black);
    } else if (has(effective_, doFullScreen)) {
        PaintPage(painter, rect(), *page);
    } else {
        // The windowed primary is the desktop; show the part under the control.
        painter.fillRect(rect(), Qt::black);
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        painter.drawImage(QPoint(0, 0), *page, QRect(origin, size()));
    }
}

void TCustomDXDraw::mouseMoveEvent(QMouseEvent* event) {
    // The window system reports motion when a window appears under a still pointer.
    const QPoint at = event->globalPosition().toPoint();
    if (at == lastPointer_)
        return;
    lastPointer_ = at;
    if (OnMouseMove)
        OnMouseMove();
}

void TCustomDXDraw::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp)
        OnMouseUp(event->button());
}

TDXDraw::TDXDraw(QWidget* parent) : TCustomDXDraw(parent) {}

} // namespace quillon
