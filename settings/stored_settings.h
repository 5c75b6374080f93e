#pragma once
// The settings as stored, for a card played without the settings dialog (an export, the
// screen saver): read once from Quillon.ini where the program keeps it.
#include "presentation/live_settings.h"
#include "settings/settings_store.h"

namespace quillon {

// The stored settings over the initial values; the initial values alone when there is
// no file or it cannot be read.
Settings loadStoredSettings();

class StoredSettings : public LiveSettings {
public:
    explicit StoredSettings(Settings settings) : s_(std::move(settings)) {}
    int StartWait() const override { return s_.startWait; }
    int Wait() const override { return s_.wait; }
    int Magnify() const override { return s_.magnify; }
    bool AutoClose() const override { return s_.autoClose; }
    bool Silent() const override { return s_.silent; }
    DisplayFont Font() const override;
    const Settings& values() const { return s_; }

private:
    Settings s_;
};

} // namespace quillon
