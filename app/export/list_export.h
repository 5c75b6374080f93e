#pragma once
// A whole list at once: one card per subtitle of a list file or of the catalogue, each
// written into one folder under its number and a file-system-safe form of its line 1.
#include "app/export/export_pipeline.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <vector>

namespace quillon {

// The longest safe form of line 1 in a card's name, in UTF-8 bytes: with the number,
// the extension and the temporary name a card is written under, well inside the 255
// bytes a file name may have.
constexpr int MaxNameTextBytes = 180;

// text as a piece of a file name: / \ : * ? " < > | and control characters become "_",
// leading dots and blanks and trailing blanks and dots go, and it is cut to maxBytes of
// UTF-8 without splitting a character. May come out empty.
QString safeNameText(const QString& text, int maxBytes = MaxNameTextBytes);

// One card of the list.
struct ListCard {
    int line = 0; // 1-based, in the list
    QByteArray line1;
    QByteArray line2;
    QString name;    // in the folder: "001-line 1.ext", or "001.ext" when nothing of it is safe
    QString problem; // why the card cannot be made; empty when it can
};

struct ListPlan {
    std::vector<ListCard> cards;
    std::vector<int> blankLines; // skipped, 1-based
};

// The cards for the items of a list, in its order. Numbers are the items' lines, padded
// to three digits or as many as the last line needs, so the names are distinct and sort
// in the list's order.
ListPlan planList(const QList<QByteArray>& items, const QString& extension);

// What a list's export says as it goes.
class ListReport {
public:
    virtual ~ListReport() = default;
    virtual void skipped(int line) = 0;
    // The list file goes on past what the program reads of a file (a line too long, too
    // many lines or bytes): only its first lines become cards.
    virtual void cutShort(const QString& file, int lines) = 0;
    virtual void failed(const ListCard& card, const QString& why) = 0;
    // done and total in thousandths of a card.
    virtual void progress(int64_t done, int64_t total) = 0;
};

struct ListResult {
    int written = 0;
    int failed = 0;
    bool interrupted = false;
    int cutAfter = 0; // lines read of a list cut short, or 0
};

struct ListItems {
    QList<QByteArray> items;
    bool complete = true; // false: the file goes on past its bounds, after items
};

// The items of the list the options name: its file, read as the program reads user
// files, or the whole catalogue. Raises an error with a message when the file cannot
// be read.
ListItems listItems(const ExportList& list);

// Writes every card of the list into the folder options.file (made when missing).
// A card that fails is reported and the others go on; a cancel stops after the card in
// progress is cleaned up. Raises an error when the folder cannot be made or the list
// holds no subtitle.
ListResult exportList(const ExportOptions& options, const ExportSourceFactory& makeSource,
                      ListReport& report, const std::atomic_bool& cancel);

} // namespace quillon
