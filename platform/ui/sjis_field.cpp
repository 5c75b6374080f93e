#include "platform/ui/sjis_field.h"

#include "platform/core/services.h"
#include "platform/text/sjis.h"
#include "platform/ui/prompts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace quillon {

namespace {

// The part of input that an edit put in place of some of before: what lies between
// their common beginning and their common end.
QString insertedPart(const QString& before, const QString& input) {
    qsizetype head = 0;
    const qsizetype shorter = std::min(before.size(), input.size());
    while (head < shorter && before[head] == input[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    return input.mid(head, input.size() - head - tail);
}

// A character as the notice shows it: invisible ones by their code point.
QString shown(const QString& character) {
    const char32_t code = character.toUcs4().value(0);
    if (QChar::isPrint(code) && !QChar::isSpace(code))
        return character;
    return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

// Follows the composition an input method shows in a field: each of its events carries
// the whole composition, which is empty once committed or cancelled.
class CompositionWatcher : public QObject {
public:
    explicit CompositionWatcher(QLineEdit* field) : QObject(field) {
        field->installEventFilter(this);
    }
    const QString& composition() const { return composition_; }
    void settle();

    // Some input methods (IBus in its commit mode) hand a composition over once more when
    // they are told to drop it after the program has committed it: that copy is kept out.
    // Waits a moment for it, so that it cannot reach a window the caller opens next.
    void awaitRepeat(const QString& committed) {
        repeat_ = committed;
        QEventLoop wait;
        repeatArrived_ = [&wait] { wait.quit(); };
        QTimer::singleShot(RepeatWaitMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        repeatArrived_ = nullptr;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A click in the field commits the composition; done here, so that it is done
        // once (the input method's own commit may come on top of the field's).
        if (event->type() == QEvent::MouseButtonPress && !composition_.isEmpty())
            settle();
        if (event->type() == QEvent::KeyPress)
            repeat_.clear(); // a key the input method let through: the user has moved on
        if (event->type() != QEvent::InputMethod)
            return false;
        const auto* input = static_cast<QInputMethodEvent*>(event);
        if (!repeat_.isEmpty() && input->preeditString().isEmpty() &&
            !input->commitString().isEmpty()) {
            const bool again = input->commitString() == repeat_ && input->replacementLength() == 0;
            repeat_.clear();
            if (again) {
                if (repeatArrived_)
                    repeatArrived_();
                return true;
            }
        } else if (!input->preeditString().isEmpty()) {
            repeat_.clear(); // a new composition: what comes next is new text
        }
        composition_ = input->preeditString();
        return false;
    }

private:
    static constexpr int RepeatWaitMs = 300;
    QString composition_;
    QString repeat_;
    std::function<void()> repeatArrived_;
};

void CompositionWatcher::settle() {
    if (composition_.isEmpty())
        return;
    auto* field = static_cast<QLineEdit*>(parent());
    const QString shown = composition_;
    // The input method commits what it shows to the field that has the focus.
    if (QGuiApplication::focusObject() == field) {
        QGuiApplication::inputMethod()->commit();
        if (composition_.isEmpty()) {
            awaitRepeat(shown);
            return;
        }
    }
    // It did not (the focus is elsewhere, or no input method runs): the field takes the
    // text as shown, and the input method drops its composition.
    QInputMethodEvent commit;
    commit.setCommitString(shown);
    QCoreApplication::sendEvent(field, &commit);
    composition_.clear();
    QGuiApplication::inputMethod()->reset();
}

CompositionWatcher* watcherOf(const QLineEdit* field) {
    for (QObject* child : field->children())
        if (auto* watcher = dynamic_cast<CompositionWatcher*>(child))
            return watcher;
    return nullptr;
}

} // namespace

QString leftOutNotice(const QString& leftOut) {
    constexpr int MaxNamed = 8;
    QStringList named;
    bool more = false;
    for (qsizetype i = 0; i < leftOut.size();) {
        const qsizetype n = leftOut[i].isHighSurrogate() && i + 1 < leftOut.size() ? 2 : 1;
        const QString character = shown(leftOut.mid(i, n));
        i += n;
        if (named.contains(character))
            continue;
        if (named.size() == MaxNamed) {
            more = true;
            break;
        }
        named.append(character);
    }
    return QCoreApplication::translate("ShiftJisField",
                                       "Shift-JIS で表せない文字「%1%2」を除きました。")
        .arg(named.join(QCoreApplication::translate("ShiftJisField", "、")),
             more ? QStringLiteral("…") : QString());
}

ShiftJisValidator::ShiftJisValidator(QLineEdit* field)
    : QValidator(field), field_(field), accepted_(field->text()) {}

QValidator::State ShiftJisValidator::validate(QString& input, int& pos) const {
    QString leftOut;
    const QString kept = sjis::representablePart(input, &leftOut);
    if (leftOut.isEmpty()) {
        accepted_ = input;
        return Acceptable;
    }
    // The program's own filling of the field (a decoded text whose bytes were not
    // Shift-JIS) is cleaned quietly; only the user's edits are answered.
    const bool byUser = field_->hasFocus();
    if (byUser && sjis::representablePart(insertedPart(accepted_, input)).isEmpty()) {
        // Nothing of the edit can be kept: the field undoes it, as for a refused key.
        prompts().beep();
        return Invalid;
    }
    pos -= int(input.left(pos).size() - sjis::representablePart(input.left(pos)).size());
    input = kept;
    accepted_ = kept;
    if (byUser) {
        // After the edit has finished: a box must not open inside the field's own change.
        QPointer<QLineEdit> field = field_;
        const QString notice = leftOutNotice(leftOut);
        QMetaObject::invokeMethod(
            field_,
            [field, notice] {
                if (field)
                    prompts().tellOk(field->window(), notice);
            },
            Qt::QueuedConnection);
    }
    return Acceptable;
}

void guardShiftJisField(QLineEdit* field) {
    field->setValidator(new ShiftJisValidator(field));
    new CompositionWatcher(field);
}

bool hasOpenComposition(const QLineEdit* field) {
    const CompositionWatcher* watcher = watcherOf(field);
    return watcher && !watcher->composition().isEmpty();
}

void settleComposition(QLineEdit* field) {
    if (CompositionWatcher* watcher = watcherOf(field))
        watcher->settle();
}

} // namespace quillon
