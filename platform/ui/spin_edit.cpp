#include "platform/ui/spin_edit.h"

#include "platform/core/services.h"
#include "platform/ui/prompts.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

namespace quillon {

namespace {
constexpr int StepButtonWidth = 15;

QToolButton* makeStepButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(SpinEdit::RepeatDelay);
    button->setAutoRepeatInterval(SpinEdit::RepeatInterval);
    return button;
}
} // namespace

SpinEdit::SpinEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), up_(makeStepButton(this, Qt::UpArrow)),
      down_(makeStepButton(this, Qt::DownArrow)) {
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);
    edit_->installEventFilter(this);
    connect(up_, &QToolButton::clicked, this, [this] { stepUp(); });
    connect(down_, &QToolButton::clicked, this, [this] { stepDown(); });
    // A step button hands the focus to the text, as the field's own part.
    for (QToolButton* b : {up_, down_})
        connect(b, &QToolButton::pressed, edit_, [this] { edit_->setFocus(); });
    setValue(0);
}

int SpinEdit::value() const {
    bool ok = false;
    const int v = edit_->text().toInt(&ok, 10);
    return ok ? v : min_;
}

void SpinEdit::setValue(int value) {
    const int v = value < min_ ? min_ : (value > max_ ? max_ : value);
    edit_->setText(QString::number(v));
}

QString SpinEdit::text() const {
    return edit_->text();
}
void SpinEdit::setText(const QString& text) {
    edit_->setText(text);
}

bool SpinEdit::acceptsCharacter(QChar c) const {
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' ||
           QString(c) == QLocale().decimalPoint();
}

void SpinEdit::checkOnExit() {
    const int v = value();
    if (v < min_ || v > max_)
        setValue(v);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            stepDown();
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint() && !acceptsCharacter(text[0])) {
            prompts().beep();
            return true;
        }
        break;
    }
    case QEvent::InputMethod: {
        const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
        for (QChar c : text) {
            if (c.isPrint() && !acceptsCharacter(c)) {
                prompts().beep();
                return true;
            }
        }
        break;
    }
    case QEvent::FocusOut:
        checkOnExit();
        break;
    case QEvent::MouseButtonRelease:
        if (OnClick)
            OnClick();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void SpinEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width() - StepButtonWidth;
    const int half = height() / 2;
    edit_->setGeometry(0, 0, w, height());
    up_->setGeometry(w, 0, StepButtonWidth, half);
    down_->setGeometry(w, half, StepButtonWidth, height() - half);
}

} // namespace quillon
