#include "subtitles/subtitle_combo.h"

#include "platform/text/sjis.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace quillon {

SubtitleCombo::SubtitleCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
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

void SubtitleCombo::refill() {
    changeItems([this] {
        QComboBox::clear();
        QStringList texts;
        texts.reserve(items_.size());
        for (const QByteArray& item : items_)
            texts.append(sjis::toUnicode(ItemTextPart(item)));
        addItems(texts);
        selected_ = -1;
    });
}

void SubtitleCombo::setItems(const QList<QByteArray>& items) {
    items_ = items;
    refill();
}

void SubtitleCombo::clearItems() {
    setItems({});
}

void SubtitleCombo::appendItem(const QByteArray& item) {
    changeItems([this, &item] {
        items_.append(item);
        addItem(sjis::toUnicode(ItemTextPart(item)));
    });
}

void SubtitleCombo::removeItemAt(int index) {
    if (index < 0 || index >= items_.size())
        return;
    changeItems([this, index] {
        items_.removeAt(index);
        removeItem(index);
        selected_ = -1;
    });
}

QByteArray SubtitleCombo::itemBytes(int index) const {
    return ItemText(items_, index);
}

void SubtitleCombo::setItemIndex(int index) {
    const QSignalBlocker block(this);
    if (index >= 0 && index < items_.size()) {
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
