#pragma once
// The toolkit's own texts (the font and file choosers, standard buttons, their
// questions) in Japanese, like every other word of the program.
class QCoreApplication;

namespace quillon {

// Installs Qt's Japanese translations whatever the user's locale. False when they are
// not installed; the toolkit's texts then stay in English.
bool installJapaneseTranslations(QCoreApplication& app);

} // namespace quillon
