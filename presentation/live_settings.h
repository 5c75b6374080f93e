#pragma once
// The settings the title card reads at the moment of use. The settings dialog's
// controls hold the live values; the card sees them through this interface.
#include <QString>

namespace quillon {

struct DisplayFont {
    QString faceName = QStringLiteral("ＭＳ 明朝");
    int charset = 128;
};

class LiveSettings {
public:
    virtual ~LiveSettings() = default;
    virtual int StartWait() const = 0;
    virtual int Wait() const = 0;
    virtual int Magnify() const = 0;
    virtual bool AutoClose() const = 0;
    virtual bool Silent() const = 0;
    virtual DisplayFont Font() const = 0;
};

// The initial values, for the time before the settings dialog exists (and for tests).
class InitialSettings : public LiveSettings {
public:
    int StartWait() const override { return startWait; }
    int Wait() const override { return wait; }
    int Magnify() const override { return magnify; }
    bool AutoClose() const override { return autoClose; }
    bool Silent() const override { return silent; }
    DisplayFont Font() const override { return font; }

    int startWait = 1500;
    int wait = 120;
    int magnify = 70;
    bool autoClose = false;
    bool silent = false;
    DisplayFont font;
};

} // namespace quillon
