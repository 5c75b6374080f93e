#pragma once
// The presentation form: the window that hosts a title card on the screen. It owns the
// drawing component, the frame timer and the sound components, and runs one card at a
// time over the whole screen.
#include "platform/display/dxform.h"
#include "presentation/card_engine.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <memory>

class QKeyEvent;

namespace quillon {

class LiveSettings;
class ScreenInhibitor;
class TDXDraw;
class TDXTimer;
class TCustomDXTimer;
class TDXSound;
class TDXWaveList;

class TDispForm : public TDXForm {
public:
    // The settings are read at the moment of use; they must outlive the form.
    explicit TDispForm(const LiveSettings& settings, QWidget* parent = nullptr);
    ~TDispForm() override;

    TDXDraw* DXDraw = nullptr;
    TDXTimer* DXTimer = nullptr;
    TDXSound* DXSound1 = nullptr;
    TDXWaveList* DXWaveList1 = nullptr;

    // Starts a card with these lines over the whole screen; returns once it is armed.
    void RunQuillon(const QByteArray& line1, const QByteArray& line2);
    void DXTimerTimer(TCustomDXTimer* sender, int32_t lagCount);
    // The end of a hold: the program ends in screen-saver mode, the card closes with
    // AutoClose, otherwise it waits for the user.
    void DispStop();
    // Leaves the card: a black page, the window back where it was, hidden.
    void FormClose();
    void PutSound(const QString& name);

    void DXDrawMouseUp();
    void DXDrawMouseMove();
    void FormKeyUp();

    CardEngine& card() { return *card_; }

    // Closing the main window (end of a hold in screen-saver mode).
    std::function<void()> closeMainWindow;
    // Arming the main window's ambience after a beast card.
    std::function<void()> armAmbience;
    // Keeps the desktop from blanking the screen while a card is on it; it must outlive
    // the form. None by default.
    void setScreenInhibitor(ScreenInhibitor* inhibitor);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    const LiveSettings& settings_;
    ScreenInhibitor* inhibitor_;
    std::unique_ptr<CardEngine> card_;
};

} // namespace quillon
