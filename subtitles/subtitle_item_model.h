#pragma once
// The rows of a subtitle list, straight from its items: a row becomes text only when it
// is shown or asked for, so a list of any length costs what its items cost.
#include "subtitles/subtitle_items.h"

#include <QAbstractListModel>

namespace quillon {

class SubtitleItemModel : public QAbstractListModel {
public:
    explicit SubtitleItemModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The item's text up to its first NUL, in the interface's Unicode.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The list's text field looks up what is typed in it on every key. A row is converted
    // for that only when its length in bytes allows it to be the text.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
                          Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith |
                                                                Qt::MatchWrap)) const override;

    const SubtitleItems& items() const { return items_; }
    void setItems(SubtitleItems items);
    void append(const QByteArray& item);
    void removeAt(int index);

    // The text a row shows.
    QString rowText(int row) const;

private:
    SubtitleItems items_;
};

} // namespace quillon
