#include "edit/IsNumber.h"

namespace {

template <typename Text>
bool IsSignedDigits(const Text& text) {
    qsizetype start = 0;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-'))
        start = 1;
    if (start >= text.size())
        return false;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    }
    return true;
}

}  // namespace

bool IsNumber(QStringView text) {
    return IsSignedDigits(text);
}

bool IsNumber(QByteArrayView text) {
    return IsSignedDigits(text);
}
