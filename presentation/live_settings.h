#pragma once
// The settings a title card reads at the moment of use. The settings dialog's controls
// hold the live values on the screen; a card played elsewhere reads a stored copy.
#include <QString>

namespace quillon {

struct DisplayFont {
    QString faceName;
    int charset = 0;
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

} // namespace quillon
