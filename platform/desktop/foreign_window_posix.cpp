#include "platform/desktop/foreign_window.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

namespace quillon {

std::optional<QSize> ForeignWindow::askSize(quint32 id) {
    // Qt's own connection, so the answer comes in order with what Qt sends.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;
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

void preferX11Platform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace quillon
