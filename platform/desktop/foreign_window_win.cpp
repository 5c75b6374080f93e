#include "platform/desktop/foreign_window.h"

#include <windows.h>

// Windows names a window by its HWND; handles are kept to 32 significant bits so that
// 32- and 64-bit programs can share them, which is why the id fits a quint32.

namespace quillon {

// The client area: the part of the window a child may cover, in device pixels.
std::optional<QSize> ForeignWindow::askSize(quint32 id) {
    const HWND window = reinterpret_cast<HWND>(static_cast<quintptr>(id));
    RECT client{};
    if (!IsWindow(window) || !GetClientRect(window, &client))
        return std::nullopt;
    return QSize(int(client.right - client.left), int(client.bottom - client.top));
}

// Windows has one window system; nothing to choose.
void preferX11Platform() {}

} // namespace quillon
