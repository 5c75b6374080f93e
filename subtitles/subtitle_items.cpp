#include "subtitles/subtitle_items.h"

#include <algorithm>
#include <limits>
#include <new>

namespace quillon {

SubtitleItems::SubtitleItems(const QList<QByteArray>& items) {
    spans_.reserve(static_cast<size_t>(items.size()));
    for (const QByteArray& item : items)
        append(item);
}

SubtitleItems::SubtitleItems(std::initializer_list<QByteArray> items) {
    spans_.reserve(items.size());
    for (const QByteArray& item : items)
        append(item);
}

SubtitleItems::SubtitleItems(QByteArray bytes, std::vector<Span> spans)
    : bytes_(std::move(bytes)), spans_(std::move(spans)) {}

QByteArrayView SubtitleItems::view(int index) const {
    if (index < 0 || index >= size())
        return {};
    const Span& span = spans_[static_cast<size_t>(index)];
    return QByteArrayView(bytes_.constData() + span.start, span.size);
}

void SubtitleItems::append(QByteArrayView item) {
    // Offsets are 32-bit: the block never grows past what they can name.
    constexpr auto Limit = std::numeric_limits<uint32_t>::max();
    if (static_cast<uint64_t>(bytes_.size()) + static_cast<uint64_t>(item.size()) > Limit)
        throw std::bad_alloc();
    const auto start = static_cast<uint32_t>(bytes_.size());
    bytes_.append(item);
    spans_.push_back({start, static_cast<uint32_t>(item.size())});
}

void SubtitleItems::removeAt(int index) {
    // The item's bytes stay in the block until the list is replaced: removing is one
    // step of the index, however long the list.
    if (index >= 0 && index < size())
        spans_.erase(spans_.begin() + index);
}

void SubtitleItems::clear() {
    bytes_.clear();
    spans_.clear();
}

QByteArray SubtitleItems::serialized() const {
    qsizetype total = 0;
    for (const Span& span : spans_)
        total += span.size + 2;
    QByteArray out;
    out.reserve(total);
    for (int i = 0; i < size(); ++i) {
        out.append(view(i));
        out.append("\r\n", 2);
    }
    return out;
}

QList<QByteArray> SubtitleItems::toList() const {
    QList<QByteArray> list;
    list.reserve(size());
    for (int i = 0; i < size(); ++i)
        list.append(at(i));
    return list;
}

bool SubtitleItems::operator==(const SubtitleItems& other) const {
    if (size() != other.size())
        return false;
    for (int i = 0; i < size(); ++i)
        if (view(i) != other.view(i))
            return false;
    return true;
}

} // namespace quillon
