#include "platform/desktop/foreign_window.h"

#include <QTimer>
#include <QWindow>
#include <windows.h>

// Windows names a window by its HWND; handles are kept to 32 significant bits so that
// 32- and 64-bit programs can share them, which is why the id fits a quint32. There is
// no connection to a window system to hold, so the connection stays null.

namespace quillon {

namespace {
HWND handleOf(quint32 id) {
    return reinterpret_cast<HWND>(static_cast<quintptr>(id));
}
} // namespace

std::unique_ptr<ForeignWindow> ForeignWindow::open(quint32 id) {
    if (id == 0)
        return nullptr;
    const std::optional<QSize> size = askSize(nullptr, id);
    if (!size)
        return nullptr;
    return std::unique_ptr<ForeignWindow>(new ForeignWindow(nullptr, id, *size));
}

ForeignWindow::ForeignWindow(xcb_connection_t* connection, quint32 id, QSize size)
    : connection_(connection), id_(id), size_(size), window_(QWindow::fromWinId(id)),
      poll_(new QTimer(this)) {
    connect(poll_, &QTimer::timeout, this, [this] { poll(); });
    poll_->start(PollMs);
}

ForeignWindow::~ForeignWindow() = default;

// The client area: the part of the window a child may cover, in device pixels.
std::optional<QSize> ForeignWindow::askSize(xcb_connection_t*, quint32 id) {
    const HWND window = handleOf(id);
    RECT client{};
    if (!IsWindow(window) || !GetClientRect(window, &client))
        return std::nullopt;
    return QSize(int(client.right - client.left), int(client.bottom - client.top));
}

void ForeignWindow::poll() {
    const std::optional<QSize> size = askSize(connection_, id_);
    if (!size) {
        poll_->stop();
        if (OnGone)
            OnGone();
        return;
    }
    if (*size == size_)
        return;
    size_ = *size;
    if (OnResized)
        OnResized(size_);
}

// Windows has one window system; nothing to choose.
void preferX11Platform() {}

} // namespace quillon
