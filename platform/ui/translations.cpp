#include "platform/ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace quillon {

namespace {

UiLanguage current = UiLanguage::Japanese;
std::unique_ptr<QTranslator> ownTexts;
std::unique_ptr<QTranslator> toolkitTexts;

std::unique_ptr<QTranslator> loaded(const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace

UiLanguage languageForLocale(const QStringList& uiLanguages) {
    if (uiLanguages.isEmpty())
        return UiLanguage::Japanese;
    const QString& first = uiLanguages.first();
    if (first.startsWith(QLatin1String("ja")) || first == QLatin1String("C") ||
        first == QLatin1String("POSIX") || first.startsWith(QLatin1String("C.")) || first.isEmpty())
        return UiLanguage::Japanese;
    return UiLanguage::English;
}

UiLanguage systemLanguage() {
    const QLocale system = QLocale::system();
    // Qt names the C locale's language "C" only through its language code.
    if (system.language() == QLocale::C)
        return UiLanguage::Japanese;
    return languageForLocale(system.uiLanguages());
}

std::optional<UiLanguage> languageNamed(const QString& name) {
    if (name == QLatin1String("ja"))
        return UiLanguage::Japanese;
    if (name == QLatin1String("en"))
        return UiLanguage::English;
    return std::nullopt;
}

void useLanguage(UiLanguage language) {
    for (auto* translator : {ownTexts.get(), toolkitTexts.get()})
        if (translator)
            QCoreApplication::removeTranslator(translator);
    ownTexts.reset();
    toolkitTexts.reset();
    current = language;
    if (language == UiLanguage::English) {
        // The toolkit's texts are English of themselves.
        ownTexts = loaded(QStringLiteral("quillon_en"), QStringLiteral(":/translations"));
    } else {
        toolkitTexts =
            loaded(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
}

UiLanguage currentLanguage() {
    return current;
}

} // namespace quillon
