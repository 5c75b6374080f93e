#pragma once
// Saving the typed subtitle to the user file (the pencil) and deleting a chosen one
// (the user list's context menu).

namespace quillon {

class TMainForm;
class TOptionForm;

// The pencil, after its click cue.
void saveTypedSubtitle(TMainForm& form, TOptionForm& settings);
// The context menu's delete item.
void deleteChosenSubtitle(TMainForm& form, TOptionForm& settings);

} // namespace quillon
