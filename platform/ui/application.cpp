#include "platform/ui/application.h"

#include "platform/core/error.h"
#include "platform/core/product.h"
#include "platform/core/services.h"
#include "platform/ui/prompts.h"

namespace quillon {

QuillonApplication::QuillonApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(productName());
    // No display name: the platform would append it to every other window's caption
    // ("設定" would read "設定 — Quillon for DirectX").
}

bool QuillonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportError(error);
    }
    return true;
}

void reportError(const std::exception& error) {
    QString message;
    if (auto* e = dynamic_cast<const Exception*>(&error))
        message = e->message();
    else
        message = QString::fromUtf8(error.what());
    prompts().showError(QApplication::activeWindow(), message);
}

} // namespace quillon
