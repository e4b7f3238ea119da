#include "app/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "config/TextDecoding.h"

namespace {

QLocale::Language LanguageOf(int languageCode) {
    switch (languageCode) {
        case kLanguageFrench:
            return QLocale::French;
        case kLanguageJapanese:
            return QLocale::Japanese;
        default:
            return QLocale::English;
    }
}

}  // namespace

QLocale NumberLocaleFor(int languageCode, const QLocale& system) {
    const QLocale::Language language = LanguageOf(languageCode);
    return system.language() == language ? system : QLocale(language);
}

ToolkitLanguage::~ToolkitLanguage() {
    QLocale::setDefault(localeBefore_);
}

void ToolkitLanguage::Select(int languageCode) {
    QLocale::setDefault(NumberLocaleFor(languageCode));
    QCoreApplication::removeTranslator(&qtTexts_);
    // Qt's texts are written in English: nothing to load for it.
    if (languageCode == kLanguageEnglish)
        return;
    if (qtTexts_.load(QLocale(LanguageOf(languageCode)), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts_);
}
