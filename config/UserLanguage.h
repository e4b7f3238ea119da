// The caption language of this run: the one asked for on the command line, else Japanese (17)
// for a Japanese user and English (9) for everyone else.
#pragma once

#include <QLocale>
#include <optional>

int LanguageForLocale(const QLocale& locale);
int ChooseLanguage(std::optional<int> requested, const QLocale& locale = QLocale::system());
