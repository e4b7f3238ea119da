#include "config/UserLanguage.h"

#include "config/TextDecoding.h"

int LanguageForLocale(const QLocale& locale) {
    switch (locale.language()) {
        case QLocale::Japanese:
            return kLanguageJapanese;
        case QLocale::French:
            return kLanguageFrench;
        default:
            return kLanguageEnglish;
    }
}

int ChooseLanguage(std::optional<int> requested, const QLocale& locale) {
    return requested ? *requested : LanguageForLocale(locale);
}
