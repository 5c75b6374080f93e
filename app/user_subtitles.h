#pragma once
// Saving the typed subtitle to the user file (the pencil) and deleting a chosen one
// (the user list's context menu).

namespace quillon {

class TMainForm;

// The pencil, after its click cue.
void SaveTypedSubtitle(TMainForm& form);
// The context menu's delete item.
void DeleteChosenSubtitle(TMainForm& form);

} // namespace quillon
