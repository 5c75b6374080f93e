#pragma once
// A number field with up and down step buttons. The text is the value: it is not
// checked while the user types (only what could be part of a number is accepted),
// and a value outside the range becomes the nearer bound when the field is left.
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

namespace quillon {

class SpinEdit : public QWidget {
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    static constexpr int RepeatDelay = 400;    // ms before a held step button repeats
    static constexpr int RepeatInterval = 100; // ms between repeats

    void setMinValue(int min) { min_ = min; }
    void setMaxValue(int max) { max_ = max; }
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int increment() const { return increment_; }
    void setIncrement(int step) { increment_ = step; }

    // The text read as a decimal integer; the minimum when it is not a number.
    // Not clamped: a typed value stays as it is until the field is left.
    int value() const;
    // Sets the value clamped to the range.
    void setValue(int value);
    QString text() const;
    void setText(const QString& text);

    void stepUp() { setValue(value() + increment_); }
    void stepDown() { setValue(value() - increment_); }

    QLineEdit* editor() const { return edit_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    // The text area clicked (not the step buttons).
    std::function<void()> OnClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool acceptsCharacter(QChar c) const;
    void checkOnExit();

    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0;
    int max_ = 100;
    int increment_ = 5;
};

} // namespace quillon
