#include "platform/sound/dxsound.h"

#include "platform/core/services.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <exception>

namespace quillon {

namespace {
// Both are marked for translation where they are written.
QString filled(const char* pattern, const char* arg) {
    return formatMessage(QCoreApplication::translate("Errors", pattern),
                         {QCoreApplication::translate("Errors", arg)});
}
constexpr uint32_t bit(TDXSoundOption option) {
    return 1u << option;
}
} // namespace

// ---- TDXSound

TDXSound::TDXSound(QWidget* ownerForm) : QObject(ownerForm) {}

TDXSound::~TDXSound() {
    try {
        Finalize();
    } catch (const std::exception&) {
        // Going away regardless; an event handler's error has nowhere to go.
    }
    notify(TDXSoundNotifyEvent::Destroying);
}

void TDXSound::setOptions(TDXSoundOptions options) {
    options_ = options;
    if (!initialized_) {
        nowOptions_ = options;
        return;
    }
    // Focus takes effect at once; exclusiveness only at the next initialisation.
    nowOptions_ = (nowOptions_ & bit(soExclusive)) | (options & ~bit(soExclusive));
    if (dsound_) {
        dsound_->globalFocus = nowOptions_ & bit(soGlobalFocus);
        dsound_->stickyFocus = nowOptions_ & bit(soStickyFocus);
    }
}

void TDXSound::loaded() {
    if (!AutoInitialize)
        return;
    try {
        Initialize();
    } catch (const EDirectSoundError&) {
        // No sound device: the program runs silent.
    }
}

QWidget* TDXSound::ownerForm() const {
    for (QObject* o = parent(); o; o = o->parent())
        if (auto* widget = qobject_cast<QWidget*>(o))
            return widget->window();
    return nullptr;
}

void TDXSound::Initialize() {
    Finalize();
    QWidget* form = ownerForm();
    if (!form)
        throw EDXSoundError(QCoreApplication::translate("Errors", "フォームが見つかりません"));
    notify(TDXSoundNotifyEvent::Initializing);
    if (OnInitializing)
        OnInitializing(*this);
    calledDoInitialize_ = true;
    try {
        std::unique_ptr<SoundDevice> device;
        if (soundSystem().DirectSoundCreate(device) != DS_OK || !device)
            throw EDirectSoundError(
                filled(QT_TRANSLATE_NOOP("Errors", "%s を初期化できません"), "DirectSound"));
        dsound_ = std::make_unique<TDirectSound>(std::move(device));
        dsound_->globalFocus = nowOptions_ & bit(soGlobalFocus);
        dsound_->stickyFocus = nowOptions_ & bit(soStickyFocus);
        dsound_->OnBufferLost = [this] { RestoreItems(); };

        primary_ = std::make_unique<TDirectSoundBuffer>(*dsound_);
        SoundBufferDesc desc;
        desc.flags = DSBCAPS_PRIMARYBUFFER;
        if (!primary_->createBuffer(desc))
            throw EDXSoundError(filled(QT_TRANSLATE_NOOP("Errors", "%s を作成できません"),
                                       QT_TRANSLATE_NOOP("Errors", "プライマリバッファ")));

        initialized_ = true;
        hookedForm_ = form;
        form->installEventFilter(this);
        setCooperativeLevel();
    } catch (...) {
        Finalize();
        throw;
    }
    notify(TDXSoundNotifyEvent::Initialize);
    initializeFired_ = true;
    if (OnInitialize)
        OnInitialize(*this);
    RestoreItems();
}

void TDXSound::Finalize() {
    if (!calledDoInitialize_)
        return;
    if (hookedForm_) {
        hookedForm_->removeEventFilter(this);
        hookedForm_ = nullptr;
    }
    std::exception_ptr error;
    try {
        if (initializeFired_) {
            initializeFired_ = false;
            if (OnFinalize)
                OnFinalize(*this);
        }
    } catch (...) {
        error = std::current_exception();
    }
    try {
        notify(TDXSoundNotifyEvent::Finalize);
    } catch (...) {
        if (!error)
            error = std::current_exception();
    }
    initialized_ = false;
    calledDoInitialize_ = false;
    setOptions(options_);
    primary_.reset();
    dsound_.reset();
    if (error)
        std::rethrow_exception(error);
}

void TDXSound::RestoreItems() {
    if (!initialized_)
        return;
    notify(TDXSoundNotifyEvent::Restore);
    if (OnRestore)
        OnRestore(*this);
}

void TDXSound::setCooperativeLevel() {
    if (!dsound_ || !hookedForm_)
        return;
    dsound_->SetCooperativeLevel(hookedForm_,
                                 (nowOptions_ & bit(soExclusive)) ? DSSCL_EXCLUSIVE : DSSCL_NORMAL);
}

bool TDXSound::eventFilter(QObject* watched, QEvent* event) {
    // A window made anew gets the cooperative level again.
    if (watched == hookedForm_ && event->type() == QEvent::WinIdChange)
        setCooperativeLevel();
    return QObject::eventFilter(watched, event);
}

void TDXSound::registerNotifyEvent(TDXSoundNotifyCallback callback, QObject* listener) {
    unRegisterNotifyEvent(listener);
    listeners_.push_back({std::move(callback), listener});
}

void TDXSound::unRegisterNotifyEvent(QObject* listener) {
    std::erase_if(listeners_, [listener](const Listener& l) { return l.listener == listener; });
}

void TDXSound::notify(TDXSoundNotifyEvent event) {
    // A listener may unregister itself while being told.
    const std::vector<Listener> listeners = listeners_;
    for (const Listener& l : listeners)
        l.callback(*this, event);
}

} // namespace quillon
