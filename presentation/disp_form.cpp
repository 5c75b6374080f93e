#include "presentation/disp_form.h"

#include "platform/core/command_line.h"
#include "platform/desktop/screen_inhibitor.h"
#include "platform/display/dxdraw.h"
#include "platform/sound/dxsound.h"
#include "platform/timer/dxtimer.h"
#include "platform/core/random.h"
#include "platform/text/sjis.h"
#include "presentation/title_drawing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace quillon {

QByteArray Line1;
QByteArray Line2;
int32_t TypePos = 0;
bool CardDone = false;
bool LineEndPause = false;
bool BeastMode = false;

TDispForm* DispForm = nullptr;

namespace {
const QByteArray beastKeyword("\x8F\x62\x89\xA4"); // 獣王
const QByteArray creditsKeyword("Quillon");
const char* const animalCues[] = {"Lion", "Elephant", "Condle"};
} // namespace

TDispForm::TDispForm(QWidget* parent) : TDXForm(parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Quillon for DirectX"));
    resize(632, 453);
    if (QScreen* screen = this->screen())
        move(screen->geometry().center() - rect().center());

    DXDraw = new TDXDraw(this);
    DXDraw->setGeometry(rect());
    DXDraw->setOptions(optionBit(doAllowReboot) | optionBit(doWaitVBlank) | optionBit(doFlip));
    DXDraw->OnMouseMove = [this] { DXDrawMouseMove(); };
    DXDraw->OnMouseUp = [this](Qt::MouseButton) { DXDrawMouseUp(); };

    DXTimer = new TDXTimer(this);
    DXTimer->setActiveOnly(true);
    DXTimer->setEnabled(false);
    DXTimer->setInterval(500);
    DXTimer->OnTimer = [this](TCustomDXTimer* sender, int32_t lag) { DXTimerTimer(sender, lag); };
    DXTimer->Loaded();

    DXSound1 = new TDXSound(this);
    DXWaveList1 = new TDXWaveList(this);
    DXWaveList1->setDXSound(DXSound1);
    LoadBuiltInSounds(*DXWaveList1);
    DXSound1->Loaded();
}

TDispForm::~TDispForm() {
    screenInhibitor().release();
}

void TDispForm::RunQuillon(const QByteArray& line1, const QByteArray& line2) {
    programRandom().reseed();
    Line1 = line1;
    Line2 = line2;
    CardDone = false;
    TypePos = 1;
    LineEndPause = false;
    setCursor(Qt::BlankCursor);
    BeastMode = Line1.contains(beastKeyword) || Line2.contains(beastKeyword);
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
    screenInhibitor().inhibit();
    DXTimer->setInterval(static_cast<uint32_t>(settings().StartWait()));
    DXTimer->setEnabled(true);
}

void TDispForm::DXTimerTimer(TCustomDXTimer*, int32_t) {
    const QByteArray joined = Line1 + Line2;
    const int32_t n = static_cast<int32_t>(joined.size());
    if (n < TypePos) {
        if (!CardDone)
            DispAll();
        else
            DispStop();
        return;
    }

    DXTimer->setEnabled(false);
    const int length = sjis::charLengthAt(joined, TypePos - 1);
    const QByteArray ch = joined.mid(TypePos - 1, length);
    TypePos += length;

    int32_t extra;
    if (BeastMode) {
        extra = 700;
    } else if (TypePos == Line1.size() + 1 || TypePos == n + 1) {
        extra = 290;
        LineEndPause = true;
    } else if (LineEndPause) {
        extra = 0;
        LineEndPause = false;
    } else if (TypePos == 2 || TypePos == 3) {
        extra = 100;
    } else {
        extra = programRandom().draw(10) <= 7 ? 100 : 0;
    }

    DispText(ch);
    DXTimer->setInterval(static_cast<uint32_t>(extra + settings().Wait()));
    DXTimer->setEnabled(true);
}

void TDispForm::DispText(const QByteArray& ch) {
    if (!DXDraw->ReadyToDraw())
        return;
    const QString cue = BeastMode ? QString::fromLatin1(animalCues[programRandom().draw(3)])
                                  : QStringLiteral("Type");
    DrawCharacter(*DXDraw, ch, settings().Magnify(), settings().Font());
    PutSound(cue);
}

void TDispForm::DispAll() {
    DrawCard(*DXDraw, Line1, Line2, settings().Font());
    CardDone = true;
    const bool credits = Line1.contains(creditsKeyword);
    DXTimer->setEnabled(false);
    DXTimer->setInterval(credits ? 10000 : 7000);
    DXTimer->setEnabled(true);
    if (credits) {
        PutSound(QStringLiteral("Theme"));
        PutSound(QStringLiteral("Joke"));
    } else if (BeastMode) {
        PutSound(QStringLiteral("GotIt"));
    } else {
        PutSound(QStringLiteral("Theme"));
    }
}

void TDispForm::DispStop() {
    DXTimer->setEnabled(false);
    if (FirstArgumentUpper() == QStringLiteral("/S")) {
        if (CloseMainWindow)
            CloseMainWindow();
    } else if (settings().AutoClose()) {
        FormClose();
    }
}

void TDispForm::FormClose() {
    DXTimer->setEnabled(false);
    if (TDirectDrawSurface* back = DXDraw->BackSurface())
        back->ColorFill(0);
    DXDraw->Flip();
    screenInhibitor().release();
    RestoreWindowPlacement();
    if (BeastMode && !settings().Silent() && ArmAmbience)
        ArmAmbience();
    close();
}

void TDispForm::PutSound(const QString& name) {
    if (settings().Silent())
        return;
    DXWaveList1->Items()->FindWave(name)->Play(false);
}

void TDispForm::DXDrawMouseUp() {
    if (CardDone)
        FormClose();
}

void TDispForm::DXDrawMouseMove() {
    if (CardDone)
        FormClose();
}

void TDispForm::FormKeyUp() {
    if (CardDone)
        FormClose();
}

void TDispForm::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat())
        FormKeyUp();
    event->accept();
}

} // namespace quillon
