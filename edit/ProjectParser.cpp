#include "edit/ProjectParser.h"

#include <array>

#include "edit/IsNumber.h"
#include "edit/SceneList.h"
#include "config/TextDecoding.h"

namespace {

// Positions (from 0) of the digits in "HH:MM:SS:FF"; the separators between them are not read.
constexpr std::array<int, 8> kTimecodeDigitPlaces = {0, 1, 3, 4, 6, 7, 9, 10};
constexpr qsizetype kTimecodeLength = 11;
constexpr qsizetype kProjectTimeFieldLength = 12;  // a blank, then the timecode

constexpr int kEffectCodes = 6;
constexpr int kTransitionCodes = 118;
constexpr int kNoLegacyTransition = 100;

// Line lengths of a .trn file, with the terminating CR that GetField keeps: a scene line, and
// the two lengths of a line that stands for a scene without points.
constexpr qsizetype kLegacySceneLine = 26;
constexpr qsizetype kLegacyBlankLineShort = 27;
constexpr qsizetype kLegacyBlankLineLong = 28;
constexpr qsizetype kLegacyLineBytes = 27;  // with CR LF, for estimating the number of lines
constexpr qsizetype kLegacyOutPointStart = 13;
constexpr qsizetype kFxdRecordBytes = 14;
// A record as GetField returns it: twelve characters, with the CR except on the first line.
constexpr qsizetype kFxdRecordText = 12;
constexpr qsizetype kFxdEffectStart = 3;
constexpr qsizetype kFxdTransitionStart = 8;
constexpr qsizetype kFxdNumberLength = 3;

constexpr std::array<int, 6> kLegacyEffects = {0, 1, 3, 5, 2, 4};
constexpr std::array<int, 18> kLegacyTransitions = {100, 101, 103, 102, 104, 105, 107, 109, 106,
                                                    108, 110, 117, 111, 113, 115, 112, 114, 116};

// The timecode text of eleven bytes with digits at every digit place, written with ':'
// separators (the list sets the drop-frame one); nothing when a digit place holds anything else.
std::optional<QString> TimecodeText(const QByteArray& bytes) {
    if (bytes.size() != kTimecodeLength)
        return std::nullopt;
    QString text = kZeroTimecodeText;
    for (int place : kTimecodeDigitPlaces) {
        const char c = bytes[place];
        if (c < '0' || c > '9')
            return std::nullopt;
        text[place] = QChar(c);
    }
    return text;
}

// Remainder of the truncating division of a number text (IsNumber) by `divisor`, exact for any
// number of digits; negative for negative numbers.
int NumberRemainder(const QByteArray& number, int divisor) {
    const bool negative = number.startsWith('-');
    int remainder = 0;
    for (char c : number) {
        if (c >= '0' && c <= '9')
            remainder = (remainder * 10 + (c - '0')) % divisor;
    }
    return negative ? -remainder : remainder;
}

// Value of a number text, held at a bound far beyond any count the files use, so that a long
// run of digits cannot overflow.
int64_t NumberValue(const QByteArray& number) {
    constexpr int64_t kBound = 1'000'000'000;
    int64_t value = 0;
    for (char c : number) {
        if (c >= '0' && c <= '9')
            value = std::min(value * 10 + (c - '0'), kBound);
    }
    return number.startsWith('-') ? -value : value;
}

std::optional<Scene> ParseProjectRow(const QByteArray& data, int line, int language) {
    const QByteArray inField = GetField(data, line, 1);
    const QByteArray outField = GetField(data, line, 2);
    const QByteArray effect = GetField(data, line, 3);
    const QByteArray transition = GetField(data, line, 4);
    const QByteArray tapeChange = GetField(data, line, 5);
    if (inField.size() != kProjectTimeFieldLength || outField.size() != kProjectTimeFieldLength) {
        return std::nullopt;
    }
    if (!IsNumber(effect) || !IsNumber(transition) || !IsNumber(tapeChange))
        return std::nullopt;
    const auto inText = TimecodeText(inField.mid(1));
    const auto outText = TimecodeText(outField.mid(1));
    if (!inText || !outText)
        return std::nullopt;
    Scene row;
    row.inText = *inText;
    row.outText = *outText;
    // A negative code has no meaning for the decks; it is read as no effect or transition.
    row.effect = std::max(0, NumberRemainder(effect, kEffectCodes));
    row.transition = std::max(0, NumberRemainder(transition, kTransitionCodes));
    row.tapeChange = tapeChange == "1";
    row.memo = DecodeLegacyText(GetField(data, line, 6), language);
    return row;
}

}  // namespace

QByteArray GetField(const QByteArray& data, int line, int column) {
    if (line < 1 || column < 0)
        return {};
    qsizetype pos = 0;
    for (int l = 1; l < line; ++l) {
        const qsizetype cr = data.indexOf('\r', pos);
        if (cr < 0)
            return {};
        pos = cr + 2;
        if (pos > data.size())
            return {};
    }
    auto fieldEnd = [&](qsizetype from) {
        for (qsizetype i = from; i < data.size(); ++i) {
            if (data[i] == '\t' || data[i] == '\r')
                return i;
        }
        return data.size();
    };
    for (int c = 0; c < column; ++c) {
        const qsizetype end = fieldEnd(pos);
        if (end >= data.size() || data[end] == '\r')
            return {};
        pos = end + 1;
    }
    qsizetype end = fieldEnd(pos);
    if (column == 0 && line > 1 && end < data.size())
        ++end;
    return data.mid(pos, end - pos);
}

std::optional<std::vector<Scene>> ParseProject(const QByteArray& data, int language) {
    if (GetField(data, 1, 0) != "TCMode" || !IsNumber(GetField(data, 1, 1)))
        return std::nullopt;
    const QByteArray sceneCount = GetField(data, 2, 1);
    if (!IsNumber(sceneCount))
        return std::nullopt;
    // Row 0 always exists, so a file without rows is not a list this program wrote.
    const int64_t count = NumberValue(sceneCount);
    if (count < 1 || count > SceneList::kMaxRows)
        return std::nullopt;
    std::vector<Scene> rows;
    for (int r = 0; r < count; ++r) {
        std::optional<Scene> row = ParseProjectRow(data, r + 4, language);
        if (!row)
            return std::nullopt;
        rows.push_back(std::move(*row));
    }
    return rows;
}

LegacyProject ParseLegacy(const QByteArray& data, int language) {
    LegacyProject project;
    const QByteArray title = GetField(data, 1, 0);
    Scene first;
    first.tapeChange = true;
    first.memo = DecodeLegacyText(title, language);
    project.rows.push_back(first);
    project.rowOfLine.push_back(0);
    const qsizetype lines = (data.size() - title.size()) / kLegacyLineBytes;
    for (qsizetype l = 0; l < lines; ++l) {
        const QByteArray field = GetField(data, static_cast<int>(l) + 2, 0);
        std::optional<QString> inText, outText;
        if (field.size() == kLegacySceneLine) {
            inText = TimecodeText(field.left(kTimecodeLength));
            outText = TimecodeText(field.mid(kLegacyOutPointStart, kTimecodeLength));
        } else if (field.size() == kLegacyBlankLineShort || field.size() == kLegacyBlankLineLong) {
            inText = outText = kZeroTimecodeText;
        }
        const bool room = project.rows.size() < static_cast<size_t>(SceneList::kMaxRows);
        if (!inText || !outText || !room) {
            project.rowOfLine.push_back(-1);
            continue;
        }
        Scene row;
        row.inText = *inText;
        row.outText = *outText;
        project.rowOfLine.push_back(static_cast<int>(project.rows.size()));
        project.rows.push_back(row);
    }
    return project;
}

void ApplyLegacyEffects(const QByteArray& fxdData, LegacyProject& project) {
    const qsizetype records = fxdData.size() / kFxdRecordBytes;
    const qsizetype lines = static_cast<qsizetype>(project.rowOfLine.size());
    for (qsizetype s = 0; s < records && s < lines; ++s) {
        const int row = project.rowOfLine[static_cast<size_t>(s)];
        if (row < 0)
            continue;
        const QByteArray record = GetField(fxdData, static_cast<int>(s) + 1, 0);
        if (record.size() != kFxdRecordText && record.size() != kFxdRecordText + 1)
            continue;
        const QByteArray effect = record.mid(kFxdEffectStart, kFxdNumberLength);
        const QByteArray transition = record.mid(kFxdTransitionStart, kFxdNumberLength);
        Scene& scene = project.rows[static_cast<size_t>(row)];
        const int effectIndex = IsNumber(effect) ? NumberRemainder(effect, kEffectCodes) : 0;
        // A negative legacy effect has no entry in the table: no effect.
        scene.effect = effectIndex >= 0 ? kLegacyEffects[static_cast<size_t>(effectIndex)] : 0;
        const int64_t transitionIndex = IsNumber(transition) ? NumberValue(transition) : -1;
        scene.transition = transitionIndex >= 0 && transitionIndex < std::ssize(kLegacyTransitions)
                               ? kLegacyTransitions[static_cast<size_t>(transitionIndex)]
                               : kNoLegacyTransition;
    }
}
