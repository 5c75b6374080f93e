#pragma once
// What the settings dialog does to the main window's two lists: it fills the catalogue
// list and connects the user list to the user file.
#include "subtitles/subtitle_items.h"

namespace quillon {

class SubtitleList {
public:
    virtual ~SubtitleList() = default;
    // Replaces the items; the text field keeps what it shows, and no item is selected.
    virtual void setItems(SubtitleItems items) = 0;
    virtual void clearItems() = 0;
    virtual void enableList(bool enabled) = 0;
};

} // namespace quillon
