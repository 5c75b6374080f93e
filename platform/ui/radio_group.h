#pragma once
// A framed group of radio buttons whose value is the index of the selected one, or
// -1 when none is selected. Its buttons are the QRadioButton children laid out in
// the window's form, in their order there.
#include <QGroupBox>
#include <functional>

class QButtonGroup;
class QRadioButton;

namespace quillon {

class RadioGroup : public QGroupBox {
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    // Collects the buttons; called once the form has created them.
    void adoptButtons();

    int count() const;
    QRadioButton* button(int index) const;
    int itemIndex() const;
    // Clamped to -1 .. count()-1; -1 clears the selection. Plays no cue.
    void setItemIndex(int index);

    // The user changed the selection.
    std::function<void()> OnClick;

private:
    QButtonGroup* group_;
};

} // namespace quillon
