// The toolkit's side of the caption language: Qt's own texts (Yes, No, Cancel, the file
// dialogs) from the distribution's translations, and numbers written as the language writes
// them ("3,0" in French).
#pragma once

#include <QLocale>
#include <QTranslator>

class ToolkitLanguage {
public:
    ToolkitLanguage() = default;
    ToolkitLanguage(const ToolkitLanguage&) = delete;
    ToolkitLanguage& operator=(const ToolkitLanguage&) = delete;
    // Gives back the locale found before (the translation leaves with its translator).
    ~ToolkitLanguage();

    // Installs Qt's translation for `languageCode` (9, 12, 17) on the running application and
    // makes its locale the default for numbers. A missing translation leaves Qt's English texts.
    void Select(int languageCode);

private:
    QTranslator qtTexts_;
    QLocale localeBefore_;
};

// The locale that writes numbers for a caption language: the user's own where it speaks that
// language (a Swiss French desktop keeps its own), else the language's usual one.
QLocale NumberLocaleFor(int languageCode, const QLocale& system = QLocale::system());
