#include "platform/ui/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace quillon {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        // Only a user's click reaches here with a change worth a cue; programmatic
        // changes block the group's signals.
        if (checked && OnClick)
            OnClick();
    });
}

void RadioGroup::adoptButtons() {
    int id = 0;
    for (QRadioButton* b : findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        group_->addButton(b, id++);
}

int RadioGroup::count() const {
    return static_cast<int>(group_->buttons().size());
}

QRadioButton* RadioGroup::button(int index) const {
    return static_cast<QRadioButton*>(group_->button(index));
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index < -1)
        index = -1;
    if (index >= count())
        index = count() - 1;
    const QSignalBlocker block(group_);
    if (index < 0) {
        // An exclusive group cannot uncheck its last checked button.
        group_->setExclusive(false);
        for (QAbstractButton* b : group_->buttons())
            b->setChecked(false);
        group_->setExclusive(true);
    } else {
        group_->button(index)->setChecked(true);
    }
}

} // namespace quillon
