#pragma once
// A list of subtitle items kept as one block of bytes and, for each item, where it lies
// in that block. A user file of many thousand lines is held as its own bytes and eight
// bytes an item, not as an object per line; the lines of a file are items as they are,
// without copying them out.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace quillon {

class SubtitleItems {
public:
    SubtitleItems() = default;
    // The catalogue's lists and short lists are taken item by item.
    SubtitleItems(const QList<QByteArray>& items); // NOLINT(google-explicit-constructor)
    SubtitleItems(std::initializer_list<QByteArray> items);

    // Items that lie in bytes; each span must lie inside it.
    struct Span {
        uint32_t start;
        uint32_t size;
    };
    SubtitleItems(QByteArray bytes, std::vector<Span> spans);

    int size() const { return static_cast<int>(spans_.size()); }
    bool isEmpty() const { return spans_.empty(); }
    // The item's whole bytes, NUL included; empty for an index that does not exist.
    QByteArrayView view(int index) const;
    QByteArray at(int index) const { return view(index).toByteArray(); }

    void append(QByteArrayView item);
    void removeAt(int index);
    void clear();

    // Every item followed by CR LF, as the user file is written.
    QByteArray serialized() const;
    QList<QByteArray> toList() const;

    bool operator==(const SubtitleItems& other) const;

private:
    QByteArray bytes_;
    std::vector<Span> spans_;
};

} // namespace quillon
