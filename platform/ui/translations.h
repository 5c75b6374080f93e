#pragma once
// The interface's language. The Japanese texts in the sources are the program's own; an
// English translation is built in for everyone whose locale is neither Japanese nor C.
// The toolkit's own texts (the choosers, standard buttons, their questions) follow the
// same choice.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quillon {

enum class UiLanguage { Japanese, English };

// Japanese for a first language of "ja…", for the C and POSIX locales and for none at
// all; English for any other.
UiLanguage languageForLocale(const QStringList& uiLanguages);
// The language the user's locale asks for (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
UiLanguage systemLanguage();
// "ja" or "en"; nullopt for anything else.
std::optional<UiLanguage> languageNamed(const QString& name);

struct LanguageOption {
    std::optional<UiLanguage> language; // the last --lang given, if any
    std::optional<QString> problem;     // a --lang without ja or en
};
// Takes "--lang ja|en" and "--lang=ja|en" out of a program's arguments (argv[0] is the
// program; the list stays ended by a null pointer), so that nothing else sees them.
LanguageOption takeLanguageOption(std::vector<char*>& argv);

// Switches the program's and the toolkit's texts to the language (needs the
// application object). Windows made afterwards show it.
void useLanguage(UiLanguage language);
UiLanguage currentLanguage();

} // namespace quillon
