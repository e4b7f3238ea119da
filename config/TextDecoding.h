// Decoding of texts that older files stored in a legacy code page: UTF-8 when the bytes are
// valid UTF-8, otherwise Shift-JIS for Japanese (language 17) and Windows-1252 for the others.
#pragma once

#include <QByteArray>
#include <QString>

constexpr int kLanguageEnglish = 9;
constexpr int kLanguageFrench = 12;
constexpr int kLanguageJapanese = 17;

QString DecodeLegacyText(const QByteArray& bytes, int languageCode);
