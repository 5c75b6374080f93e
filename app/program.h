#pragma once
// Program start: the four windows, created once in their fixed order.

namespace quillon {

// Creates the main window, the presentation form, the settings dialog and the about box.
void CreateForms();
// Destroys them in reverse order.
void DestroyForms();

} // namespace quillon
