#include "config/TextDecoding.h"

#include <QStringDecoder>

QString DecodeLegacyText(const QByteArray& bytes, int languageCode) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder legacy(languageCode == kLanguageJapanese ? "Shift_JIS" : "windows-1252");
    if (legacy.isValid()) return legacy.decode(bytes);
    // Without a converter for the code page, keep the bytes readable rather than dropping them.
    return QString::fromLatin1(bytes);
}
