#include "subtitles/subtitle_combo.h"

#include "platform/text/sjis.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace quillon {

namespace {
// A list item is text up to its first NUL, as a list of C strings would hold it. The
// bytes after it stay in items() so that rewriting the file loses nothing.
QByteArray textPart(const QByteArray& item) {
    const qsizetype nul = item.indexOf('\0');
    return nul < 0 ? item : item.left(nul);
}
} // namespace

SubtitleCombo::SubtitleCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
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

void SubtitleCombo::refill() {
    const QSignalBlocker block(this);
    const QString shown = currentText();
    QComboBox::clear();
    QStringList texts;
    texts.reserve(items_.size());
    for (const QByteArray& item : items_)
        texts.append(sjis::toUnicode(textPart(item)));
    addItems(texts);
    setEditText(shown);
    selected_ = -1;
}

void SubtitleCombo::setItems(const QList<QByteArray>& items) {
    items_ = items;
    refill();
}

void SubtitleCombo::clearItems() {
    setItems({});
}

void SubtitleCombo::appendItem(const QByteArray& item) {
    const QSignalBlocker block(this);
    const QString shown = currentText();
    items_.append(item);
    addItem(sjis::toUnicode(textPart(item)));
    setEditText(shown);
}

void SubtitleCombo::removeItemAt(int index) {
    if (index < 0 || index >= items_.size())
        return;
    const QSignalBlocker block(this);
    const QString shown = currentText();
    items_.removeAt(index);
    removeItem(index);
    setEditText(shown);
    selected_ = -1;
}

QByteArray SubtitleCombo::itemBytes(int index) const {
    if (index < 0 || index >= items_.size())
        return {};
    QByteArray item = textPart(items_.at(index));
    if (item.size() >= ItemBufferSize)
        return {};
    return item;
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
