#pragma once
// A drop-down list with an editable text field whose items are Shift-JIS subtitle
// items. The text field keeps what it shows when the items are replaced, and the
// selected index follows the user: a pick selects, typing selects the item whose text
// matches, or none. The drop-down shows the items straight from their bytes, however
// many there are.
#include "subtitles/subtitle_choice.h"
#include "subtitles/subtitle_list.h"

#include <QByteArray>
#include <QComboBox>
#include <functional>

namespace quillon {

class SubtitleItemModel;

class SubtitleCombo : public QComboBox, public SubtitleList {
public:
    explicit SubtitleCombo(QWidget* parent = nullptr);

    // Items read back through a 4096-byte buffer: longer items are not readable.
    static constexpr int ItemBufferSize = quillon::ItemBufferSize;

    void setItems(SubtitleItems items) override;
    void clearItems() override;
    void enableList(bool enabled) override { setEnabled(enabled); }
    void appendItem(const QByteArray& item);
    void removeItemAt(int index);
    int itemCount() const;
    // The item's text as the fields take it: its bytes up to the first NUL; empty for an
    // index that does not exist or a text too long for the buffer (4096 bytes or more).
    QByteArray itemBytes(int index) const;
    // The items' whole bytes, NUL and overlong ones included, as the file holds them.
    const SubtitleItems& items() const;
    int itemIndex() const { return selected_; }
    void setItemIndex(int index);
    // The text field (not an item).
    QString text() const { return currentText(); }
    void setText(const QString& text);

    std::function<void()> OnChange;
    std::function<void()> OnDropDown;

    void showPopup() override;

private:
    // Changes the items; the text field keeps what it shows and only the user's
    // selection (none after a refill) is current.
    template <typename Change> void changeItems(Change change);
    SubtitleItemModel* model_;
    int selected_ = -1;
};

} // namespace quillon
