#include "config/UserLanguage.h"

#include "config/TextDecoding.h"

int LanguageForLocale(const QLocale& locale) {
    return locale.language() == QLocale::Japanese ? kLanguageJapanese : kLanguageEnglish;
}

int ChooseLanguage(std::optional<int> requested, const QLocale& locale) {
    return requested ? *requested : LanguageForLocale(locale);
}
