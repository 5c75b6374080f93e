#include "platform/desktop/foreign_window.h"

#include <QTimer>
#include <QWindow>

namespace quillon {

std::unique_ptr<ForeignWindow> ForeignWindow::open(quint32 id) {
    if (id == 0)
        return nullptr;
    const std::optional<QSize> size = askSize(id);
    if (!size)
        return nullptr;
    return std::unique_ptr<ForeignWindow>(new ForeignWindow(id, *size));
}

ForeignWindow::ForeignWindow(quint32 id, QSize size)
    : id_(id), size_(size), window_(QWindow::fromWinId(id)), poll_(new QTimer(this)) {
    connect(poll_, &QTimer::timeout, this, [this] { poll(); });
    poll_->start(PollMs);
}

ForeignWindow::~ForeignWindow() = default;

void ForeignWindow::poll() {
    const std::optional<QSize> size = askSize(id_);
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

} // namespace quillon
