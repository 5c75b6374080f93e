#pragma once
// A window of another program, named by its id in the window system: a screen saver
// daemon's window or a settings dialog's preview, which a screen saver draws into. Qt
// does not follow the size of a window it did not make, so the window system is asked
// for it a few times a second (foreign_window_posix.cpp asks X11).
#include <QObject>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWindow;

namespace quillon {

class ForeignWindow : public QObject {
public:
    // The window with this id on the application's display; null when the window system
    // cannot be asked (not X11) or has no such window.
    static std::unique_ptr<ForeignWindow> open(quint32 id);
    ~ForeignWindow() override;

    // A window to be the parent of ours; the other program's window is never destroyed.
    QWindow* window() const { return window_.get(); }
    // Its size in device pixels, as last asked.
    QSize pixelSize() const { return size_; }

    std::function<void(QSize)> OnResized;
    // The window went away (its program ended or closed it).
    std::function<void()> OnGone;

    // How often the size is asked for.
    static constexpr int PollMs = 200;

private:
    ForeignWindow(quint32 id, QSize size);
    // Per system: the window's size in device pixels; none when the window system cannot
    // be asked or the window is gone.
    static std::optional<QSize> askSize(quint32 id);
    void poll();

    quint32 id_;
    QSize size_;
    std::unique_ptr<QWindow> window_;
    QTimer* poll_;
};

// Per system. Drawing into another program's window needs X11 here: the platform Qt
// starts on is xcb unless the environment names one. Call before the application is
// made.
void preferX11Platform();

} // namespace quillon
