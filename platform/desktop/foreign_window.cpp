#include "platform/desktop/foreign_window.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <xcb/xcb.h>

namespace quillon {

std::unique_ptr<ForeignWindow> ForeignWindow::open(quint32 id) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || id == 0)
        return nullptr;
    const std::optional<QSize> size = askSize(connection, id);
    if (!size)
        return nullptr;
    return std::unique_ptr<ForeignWindow>(new ForeignWindow(connection, id, *size));
}

ForeignWindow::ForeignWindow(xcb_connection_t* connection, quint32 id, QSize size)
    : connection_(connection), id_(id), size_(size), window_(QWindow::fromWinId(id)),
      poll_(new QTimer(this)) {
    connect(poll_, &QTimer::timeout, this, [this] { poll(); });
    poll_->start(PollMs);
}

ForeignWindow::~ForeignWindow() = default;

std::optional<QSize> ForeignWindow::askSize(xcb_connection_t* connection, quint32 id) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), &error);
    std::free(error);
    if (!reply)
        return std::nullopt;
    const QSize size(reply->width, reply->height);
    std::free(reply);
    return size;
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

void preferX11Platform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace quillon
