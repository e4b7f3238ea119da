// The link monitor's text forms: the hexadecimal entry of a raw request (destination id and
// seven command bytes), frames as colon-separated upper-case hexadecimal bytes, and numbers as
// a fixed count of decimal digits.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>

// The entry's bytes: the monitor sends this many, request bytes 2 to 9.
constexpr int kEntryBytes = 8;
// Only this much of the entry is read: eight bytes of two digits and a colon.
constexpr int kEntryChars = 24;

using EntryBytes = std::array<uint8_t, kEntryBytes>;

// Reads the first kEntryChars characters: a hexadecimal digit starts a byte or completes it;
// any other character ends a byte of one digit. Bytes not given are 0.
EntryBytes ParseHexEntry(const QString& text);

// Each byte as two upper-case hexadecimal digits followed by a colon.
QString BytesToHexText(std::span<const uint8_t> bytes);

// The last `digits` decimal digits of value, with leading zeros.
QString LastDecimalDigits(uint32_t value, int digits);
