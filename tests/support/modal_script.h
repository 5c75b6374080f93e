#pragma once
// Answers the real modal dialogs that a call opens, in order, as a user would: each
// step waits for the active modal dialog of its kind and acts on it. Whatever is still
// open after the time limit is rejected, so a test fails instead of hanging.
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

namespace quillon::testing {

class ModalScript : public QObject {
public:
    explicit ModalScript(int limitMs = 10000) : limitMs_(limitMs) {
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(10);
        clock_.start();
    }

    template <typename Dialog> ModalScript& then(std::function<void(Dialog*)> act) {
        steps_.push_back([act](QWidget* widget) {
            auto* dialog = qobject_cast<Dialog*>(widget);
            if (dialog)
                act(dialog);
            return dialog != nullptr;
        });
        return *this;
    }

    bool finished() const { return next_ == steps_.size(); }
    bool timedOut() const { return timedOut_; }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (clock_.elapsed() > limitMs_) {
            timedOut_ = true;
            if (modal)
                QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            return;
        }
        if (!modal || !modal->isVisible() || modal == last_ || next_ == steps_.size())
            return;
        last_ = modal;
        // Acted on from the event loop, not from this tick: an answer may open a nested
        // dialog, and a timer does not tick again inside its own handler.
        QPointer<QWidget> target = modal;
        const size_t step = next_++;
        QMetaObject::invokeMethod(
            this,
            [this, target, step] {
                if (target && !steps_[step](target))
                    --next_, last_ = nullptr; // another kind of dialog: wait for ours
            },
            Qt::QueuedConnection);
    }

    QTimer timer_;
    QElapsedTimer clock_;
    int limitMs_;
    std::vector<std::function<bool(QWidget*)>> steps_;
    size_t next_ = 0;
    QPointer<QWidget> last_;
    bool timedOut_ = false;
};

} // namespace quillon::testing
