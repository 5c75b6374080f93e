#include "app/user_subtitles.h"

namespace quillon {

void SaveTypedSubtitle(TMainForm&) {}
void DeleteChosenSubtitle(TMainForm&) {}

} // namespace quillon
