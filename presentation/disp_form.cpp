#include "presentation/disp_form.h"

#include "platform/core/product.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/desktop/screen_inhibitor.h"
#include "platform/display/dxdraw.h"
#include "platform/sound/dxwavelist.h"
#include "platform/timer/dxtimer.h"
#include "presentation/built_in_sounds.h"
#include "presentation/live_settings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace quillon {

namespace {
NoScreenInhibitor noInhibitor;
} // namespace

TDispForm::TDispForm(const LiveSettings& settings, QWidget* parent)
    : TDXForm(parent), settings_(settings), inhibitor_(&noInhibitor) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(productName());
    resize(632, 453);
    if (QScreen* screen = this->screen())
        move(screen->geometry().center() - rect().center());

    DXDraw = new TDXDraw(this);
    DXDraw->setGeometry(rect());
    DXDraw->setOptions(TitleCardDXDrawOptions);
    DXDraw->Display().setBitCount(16);
    DXDraw->OnMouseMove = [this] { DXDrawMouseMove(); };
    DXDraw->OnMouseUp = [this](Qt::MouseButton) { DXDrawMouseUp(); };

    DXTimer = new TDXTimer(this);
    DXTimer->setActiveOnly(true);
    DXTimer->setEnabled(false);
    DXTimer->setInterval(500);
    DXTimer->OnTimer = [this](TCustomDXTimer* sender, int32_t lag) { DXTimerTimer(sender, lag); };
    DXTimer->loaded();

    DXSound1 = new TDXSound(this);
    DXWaveList1 = new TDXWaveList(this);
    DXWaveList1->setDXSound(DXSound1);
    loadBuiltInSounds(*DXWaveList1);
    DXSound1->loaded();

    card_ = std::make_unique<CardEngine>(CardEngine::Seams{
        *DXTimer, programClock(), programRandom(), *DXDraw, *DXWaveList1, settings_});
    card_->OnHoldEnd = [this] { DispStop(); };
}

TDispForm::~TDispForm() {
    card_.reset();
    inhibitor_->release();
}

void TDispForm::setScreenInhibitor(ScreenInhibitor* inhibitor) {
    inhibitor_ = inhibitor ? inhibitor : &noInhibitor;
}

void TDispForm::RunQuillon(const QByteArray& line1, const QByteArray& line2) {
    card_->begin(line1, line2);
    setCursor(Qt::BlankCursor);
    SaveWindowPlacement();
    // A card started from a modal dialog (the about box's emblem) must take the keys
    // and the mouse that dismiss it, so it is modal above that dialog.
    if (!isVisible())
        setWindowModality(QApplication::activeModalWidget() ? Qt::ApplicationModal : Qt::NonModal);
    show();
    try {
        DXDraw->Finalize();
        DXDraw->setCursor(Qt::BlankCursor);
        DXDraw->setOptions(DXDraw->Options() | optionBit(doFullScreen));
        DXDraw->Initialize();
    } catch (...) {
        // Without a screen to draw on, the form would only cover the desktop: put it away.
        RestoreWindowPlacement();
        hide();
        throw;
    }
    inhibitor_->inhibit();
    card_->start();
}

void TDispForm::DXTimerTimer(TCustomDXTimer*, int32_t) {
    card_->DXTimerTimer();
}

void TDispForm::DispStop() {
    if (environment().runMode().kind == RunKind::ScreenSaver) {
        if (closeMainWindow)
            closeMainWindow();
    } else if (settings_.AutoClose()) {
        FormClose();
    }
}

void TDispForm::FormClose() {
    card_->blank();
    inhibitor_->release();
    RestoreWindowPlacement();
    if (card_->BeastMode() && !settings_.Silent() && armAmbience)
        armAmbience();
    close();
}

void TDispForm::PutSound(const QString& name) {
    card_->PutSound(name);
}

void TDispForm::DXDrawMouseUp() {
    if (card_->CardDone())
        FormClose();
}

void TDispForm::DXDrawMouseMove() {
    if (card_->CardDone())
        FormClose();
}

void TDispForm::FormKeyUp() {
    if (card_->CardDone())
        FormClose();
}

void TDispForm::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat())
        FormKeyUp();
    event->accept();
}

} // namespace quillon
