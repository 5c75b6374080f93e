#pragma once
// The presentation form: stages one title card per run, driven by the frame timer.
#include "platform/display/dxform.h"
#include "presentation/live_settings.h"

#include <QByteArray>
#include <cstdint>
#include <functional>

class QKeyEvent;

namespace quillon {

class TDXDraw;
class TDXTimer;
class TCustomDXTimer;
class TDXSound;
class TDXWaveList;

// Run state of the card; one set for the program, as there is one presentation form.
extern QByteArray Line1;
extern QByteArray Line2;
extern int32_t TypePos;
extern bool CardDone;
extern bool LineEndPause;
extern bool BeastMode;

class TDispForm : public TDXForm {
public:
    explicit TDispForm(QWidget* parent = nullptr);
    ~TDispForm() override;

    TDXDraw* DXDraw = nullptr;
    TDXTimer* DXTimer = nullptr;
    TDXSound* DXSound1 = nullptr;
    TDXWaveList* DXWaveList1 = nullptr;

    void RunQuillon(const QByteArray& line1, const QByteArray& line2);
    void DXTimerTimer(TCustomDXTimer* sender, int32_t lagCount);
    void DispText(const QByteArray& ch);
    void DispAll();
    void DispStop();
    void FormClose();
    void PutSound(const QString& name);

    void DXDrawMouseUp();
    void DXDrawMouseMove();
    void FormKeyUp();

    // Where the live settings are read; the settings dialog once it exists.
    void setSettings(const LiveSettings* settings) { settings_ = settings ? settings : &initial_; }
    const LiveSettings& settings() const { return *settings_; }
    // Closing the main window (end of a hold in screen-saver mode).
    std::function<void()> CloseMainWindow;
    // Arming the main window's ambience after a beast card.
    std::function<void()> ArmAmbience;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    InitialSettings initial_;
    const LiveSettings* settings_ = &initial_;
};

extern TDispForm* DispForm;

} // namespace quillon
