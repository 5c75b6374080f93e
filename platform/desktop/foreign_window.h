#pragma once
// A window of another program, named by its X11 id: a screen saver daemon's window or a
// settings dialog's preview, which a screen saver draws into. Qt does not follow the size
// of a window it did not make, so the window system is asked for it a few times a second.
#include <QObject>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWindow;
struct xcb_connection_t;

namespace quillon {

class ForeignWindow : public QObject {
public:
    // The window with this id on the application's X11 display; null when the display is
    // not X11 or it has no such window.
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
    ForeignWindow(xcb_connection_t* connection, quint32 id, QSize size);
    static std::optional<QSize> askSize(xcb_connection_t* connection, quint32 id);
    void poll();

    xcb_connection_t* connection_;
    quint32 id_;
    QSize size_;
    std::unique_ptr<QWindow> window_;
    QTimer* poll_;
};

// Drawing into another program's window needs X11: the platform Qt starts on is xcb
// unless the environment names one. Call before the application is made.
void preferX11Platform();

} // namespace quillon
