#include "devices/MonitorText.h"

namespace {

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

}  // namespace

EntryBytes ParseHexEntry(const QString& text) {
    EntryBytes bytes{};
    int count = 0;
    int pending = -1;  // the first digit of a byte not yet complete
    const QString entry = text.left(kEntryChars);
    for (qsizetype i = 0; i < entry.size() && count < kEntryBytes; ++i) {
        const int digit = HexDigitValue(entry[i]);
        if (digit >= 0 && pending < 0) {
            pending = digit;
        } else if (digit >= 0) {
            bytes[count++] = static_cast<uint8_t>(pending << 4 | digit);
            pending = -1;
        } else if (pending >= 0) {
            bytes[count++] = static_cast<uint8_t>(pending);
            pending = -1;
        }
    }
    // A single digit at the very end of the entry stands for its byte too.
    if (pending >= 0 && count < kEntryBytes)
        bytes[count] = static_cast<uint8_t>(pending);
    return bytes;
}

QString BytesToHexText(std::span<const uint8_t> bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size() * 3));
    for (uint8_t byte : bytes) {
        text += QLatin1Char(kDigits[byte >> 4]);
        text += QLatin1Char(kDigits[byte & 0x0F]);
        text += u':';
    }
    return text;
}

QString LastDecimalDigits(uint32_t value, int digits) {
    uint32_t modulus = 1;
    for (int i = 0; i < digits; ++i)
        modulus *= 10;
    return QStringLiteral("%1").arg(value % modulus, digits, 10, QLatin1Char('0'));
}
