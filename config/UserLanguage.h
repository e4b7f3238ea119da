// The caption language of this run: the one asked for on the command line, else the user's own
// where the caption file has a column for it (French 12, Japanese 17), else English (9).
#pragma once

#include <QLocale>
#include <optional>

int LanguageForLocale(const QLocale& locale);
int ChooseLanguage(std::optional<int> requested, const QLocale& locale = QLocale::system());
