// The strict text-to-integer conversion of stored settings: an optional sign and decimal digits
// that fit a signed 32-bit integer, nothing else.
#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

std::optional<int32_t> ParseStrictInteger(QStringView text);
