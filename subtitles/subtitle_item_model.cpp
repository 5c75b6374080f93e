#include "subtitles/subtitle_item_model.h"

#include "platform/text/sjis.h"
#include "subtitles/subtitle_choice.h"

namespace quillon {

SubtitleItemModel::SubtitleItemModel(QObject* parent) : QAbstractListModel(parent) {}

int SubtitleItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : items_.size();
}

QString SubtitleItemModel::rowText(int row) const {
    return sjis::toUnicode(itemTextPart(items_.view(row)));
}

QVariant SubtitleItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= items_.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return rowText(index.row());
}

QModelIndexList SubtitleItemModel::match(const QModelIndex& start, int role, const QVariant& value,
                                         int hits, Qt::MatchFlags flags) const {
    const bool textRole = role == Qt::DisplayRole || role == Qt::EditRole;
    if (!textRole || (flags & Qt::MatchTypeMask) != Qt::MatchFixedString ||
        (flags & Qt::MatchRecursive) || start.parent().isValid() || start.column() != 0)
        return QAbstractListModel::match(start, role, value, hits, flags);
    const QString text = value.toString();
    const Qt::CaseSensitivity cs =
        flags & Qt::MatchCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // A character of Shift-JIS text takes one or two bytes, and a lead byte left alone at
    // the end shows as nothing: a row of n characters has n to 2n + 1 bytes.
    const qsizetype fewest = text.size();
    const qsizetype most = 2 * text.size() + 1;
    QModelIndexList found;
    const auto scan = [&](int from, int to) {
        for (int row = from; row < to && (hits == -1 || found.size() < hits); ++row) {
            const qsizetype bytes = itemTextPart(items_.view(row)).size();
            if (bytes >= fewest && bytes <= most && rowText(row).compare(text, cs) == 0)
                found.append(index(row));
        }
    };
    scan(start.row(), items_.size());
    if (flags & Qt::MatchWrap)
        scan(0, start.row());
    return found;
}

void SubtitleItemModel::setItems(SubtitleItems items) {
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

void SubtitleItemModel::append(const QByteArray& item) {
    beginInsertRows({}, items_.size(), items_.size());
    items_.append(item);
    endInsertRows();
}

void SubtitleItemModel::removeAt(int index) {
    if (index < 0 || index >= items_.size())
        return;
    beginRemoveRows({}, index, index);
    items_.removeAt(index);
    endRemoveRows();
}

} // namespace quillon
