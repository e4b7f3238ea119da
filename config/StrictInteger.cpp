#include "config/StrictInteger.h"

std::optional<int32_t> ParseStrictInteger(QStringView text) {
    if (text.isEmpty())
        return std::nullopt;
    const bool negative = text.front() == u'-';
    const QStringView digits = (negative || text.front() == u'+') ? text.sliced(1) : text;
    if (digits.isEmpty())
        return std::nullopt;
    // Accumulate as a 64-bit value and stop as soon as it leaves the 32-bit range, so a long run
    // of digits cannot overflow.
    int64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}
