#pragma once
// The interface's language. The Japanese texts in the sources are the program's own; an
// English translation is built in for everyone whose locale is neither Japanese nor C.
// The toolkit's own texts (the choosers, standard buttons, their questions) follow the
// same choice.
#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

enum class UiLanguage { Japanese, English };

// Japanese for a first language of "ja…", for the C and POSIX locales and for none at
// all; English for any other.
UiLanguage languageForLocale(const QStringList& uiLanguages);
// The language the user's locale asks for (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
UiLanguage systemLanguage();
// "ja" or "en"; nullopt for anything else.
std::optional<UiLanguage> languageNamed(const QString& name);

// Switches the program's and the toolkit's texts to the language (needs the
// application object). Windows made afterwards show it.
void useLanguage(UiLanguage language);
UiLanguage currentLanguage();

} // namespace quillon
