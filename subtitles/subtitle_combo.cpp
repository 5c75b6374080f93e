#include "subtitles/subtitle_combo.h"

#include "subtitles/subtitle_item_model.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>

namespace quillon {

SubtitleCombo::SubtitleCombo(QWidget* parent)
    : QComboBox(parent), model_(new SubtitleItemModel(this)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    // The list's size is its own, never measured over every item.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setModel(model_);
    // Typing selects a matching item and nothing else: no completion of the typed text.
    setCompleter(nullptr);
    // Every row is one line of the same font: the drop-down lays out a long list from
    // the first row's size, without asking for the text of the others.
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    // The text area shows the list's own pointer (the program's cursor), not an I-beam.
    lineEdit()->unsetCursor();
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        selected_ = index;
        if (OnChange)
            OnChange();
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        selected_ = findText(text, Qt::MatchFixedString);
        if (OnChange)
            OnChange();
    });
}

template <typename Change> void SubtitleCombo::changeItems(Change change) {
    const QSignalBlocker block(this);
    const QString shown = currentText();
    change();
    // The toolkit makes the first item current when a list fills; only the user's
    // choice may be current, or Down in the closed list would skip the first item.
    setCurrentIndex(selected_);
    setEditText(shown);
}

void SubtitleCombo::setItems(SubtitleItems items) {
    changeItems([this, &items] {
        model_->setItems(std::move(items));
        selected_ = -1;
    });
}

void SubtitleCombo::clearItems() {
    setItems({});
}

void SubtitleCombo::appendItem(const QByteArray& item) {
    changeItems([this, &item] { model_->append(item); });
}

void SubtitleCombo::removeItemAt(int index) {
    if (index < 0 || index >= itemCount())
        return;
    changeItems([this, index] {
        model_->removeAt(index);
        selected_ = -1;
    });
}

int SubtitleCombo::itemCount() const {
    return model_->items().size();
}

const SubtitleItems& SubtitleCombo::items() const {
    return model_->items();
}

QByteArray SubtitleCombo::itemBytes(int index) const {
    return quillon::itemText(model_->items(), index);
}

void SubtitleCombo::setItemIndex(int index) {
    const QSignalBlocker block(this);
    if (index >= 0 && index < itemCount()) {
        setCurrentIndex(index);
        selected_ = index;
    } else {
        selected_ = -1;
    }
}

void SubtitleCombo::setText(const QString& text) {
    const QSignalBlocker block(this);
    setEditText(text);
}

void SubtitleCombo::showPopup() {
    if (OnDropDown)
        OnDropDown();
    QComboBox::showPopup();
}

} // namespace quillon
