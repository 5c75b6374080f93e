#pragma once
// The sound component: brings the sound device up and down with its owner form, and tells
// its listeners (the wave lists) when buffers are to be made, dropped or restored.
#include "platform/core/error.h"
#include "platform/sound/directsound.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace quillon {

class EDXSoundError : public Exception {
public:
    using Exception::Exception;
};

class TDXSound;

enum TDXSoundOption { soGlobalFocus = 0, soStickyFocus = 1, soExclusive = 2 };
using TDXSoundOptions = uint32_t; // bits of TDXSoundOption

enum class TDXSoundNotifyEvent {
    Destroying = 0,
    Initializing = 1,
    Initialize = 2,
    Finalize = 3,
    Restore = 4
};
using TDXSoundNotifyCallback = std::function<void(TDXSound& sender, TDXSoundNotifyEvent event)>;

class TDXSound : public QObject {
public:
    explicit TDXSound(QWidget* ownerForm);
    ~TDXSound() override;

    bool AutoInitialize = true;
    TDXSoundOptions Options() const { return options_; }
    void setOptions(TDXSoundOptions options);
    TDXSoundOptions nowOptions() const { return nowOptions_; }

    // End of form loading: with AutoInitialize, Initialize, swallowing the error of a
    // missing sound device so that the program runs silent.
    void loaded();
    void Initialize();
    void Finalize();
    void RestoreItems();
    bool initialized() const { return initialized_; }

    // Present only while initialised.
    TDirectSound* directSound() const { return dsound_.get(); }
    TDirectSoundBuffer* primary() const { return primary_.get(); }

    void registerNotifyEvent(TDXSoundNotifyCallback callback, QObject* listener);
    void unRegisterNotifyEvent(QObject* listener);

    std::function<void(TDXSound&)> OnInitializing;
    std::function<void(TDXSound&)> OnInitialize;
    std::function<void(TDXSound&)> OnFinalize;
    std::function<void(TDXSound&)> OnRestore;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Listener {
        TDXSoundNotifyCallback callback;
        QObject* listener;
    };
    void notify(TDXSoundNotifyEvent event);
    QWidget* ownerForm() const;
    void setCooperativeLevel();

    TDXSoundOptions options_ = 0;
    TDXSoundOptions nowOptions_ = 0;
    std::unique_ptr<TDirectSound> dsound_;
    std::unique_ptr<TDirectSoundBuffer> primary_;
    QWidget* hookedForm_ = nullptr;
    std::vector<Listener> listeners_;
    bool initialized_ = false;
    bool calledDoInitialize_ = false;
    bool initializeFired_ = false;
};

} // namespace quillon
