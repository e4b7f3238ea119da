#include "cli/TapeReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>

#include "edit/SceneList.h"

std::optional<TapeReport> TapeReport::Parse(const QByteArray& json, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull() || !doc.object().value("segments").isArray()) {
        *error = doc.isNull() ? parseError.errorString() : QStringLiteral("no \"segments\" array");
        return std::nullopt;
    }
    TapeReport report;
    for (const QJsonValue& value : doc.object().value("segments").toArray()) {
        const QJsonObject o = value.toObject();
        report.segments_.push_back({o.value("recorder").toInt(), o.value("rec_from").toInt(),
                                    o.value("rec_to").toInt(), o.value("player").toInt(),
                                    o.value("src_from").toInt(), o.value("src_to").toInt(),
                                    o.value("picture").toString(), o.value("effect").toInt(),
                                    o.value("transition").toInt(), o.value("side").toString()});
    }
    std::sort(report.segments_.begin(), report.segments_.end(), [](const auto& a, const auto& b) {
        return std::pair(a.recorder, a.recFrom) < std::pair(b.recorder, b.recFrom);
    });
    return report;
}

std::vector<RecordedScene> TapeReport::RecordedScenes() const {
    std::vector<RecordedScene> scenes;
    for (const TapeReportSegment& s : segments_) {
        // Frames under the end picture of an out transition still come from the running tape,
        // so they belong to the scene whose edit points are measured.
        if (s.picture != QLatin1String("play") && s.picture != QLatin1String("faded"))
            continue;
        // A segment boundary inside a scene (an effect or transition changing) continues both
        // tapes; a new scene starts elsewhere on the player's tape.
        if (!scenes.empty() && scenes.back().recTo == s.recFrom &&
            std::abs(scenes.back().srcTo - s.srcFrom) <= 1) {
            scenes.back().recTo = s.recTo;
            scenes.back().srcTo = s.srcTo;
        } else {
            scenes.push_back({s.recFrom, s.recTo, s.srcFrom, s.srcTo});
        }
    }
    return scenes;
}

std::vector<int> TapeReport::PlainFramesBeforeTransitions() const {
    std::vector<int> plain;
    for (size_t i = 0; i < segments_.size(); ++i) {
        const TapeReportSegment& s = segments_[i];
        if (s.side != QLatin1String("in"))
            continue;
        // The played stretch just before it on both tapes, with no transition running.
        int frames = 0;
        for (size_t j = i; j > 0; --j) {
            const TapeReportSegment& before = segments_[j - 1];
            const TapeReportSegment& after = segments_[j];
            if (before.recTo != after.recFrom || before.transition != 0 ||
                before.picture != QLatin1String("play") ||
                std::abs(before.srcTo - after.srcFrom) > 1)
                break;
            frames += before.recTo - before.recFrom;
        }
        plain.push_back(frames);
    }
    return plain;
}

std::optional<SceneErrors> TapeReport::CompareWith(const SceneList& list) const {
    const std::vector<RecordedScene> recorded = RecordedScenes();
    SceneErrors errors;
    size_t next = 0;
    int sum = 0, signedSum = 0;
    for (int i = 1; i < list.count(); ++i) {
        const Scene& row = list.row(i);
        if (row.tapeChange || row.durationFrames == 0)
            continue;
        if (next == recorded.size())
            return std::nullopt;
        const RecordedScene& scene = recorded[next++];
        const int in = scene.srcFrom - row.inFrames;
        const int out = scene.srcTo - row.outFrames;
        errors.perScene.emplace_back(in, out);
        errors.maxError = std::max({errors.maxError, std::abs(in), std::abs(out)});
        sum += std::abs(in) + std::abs(out);
        signedSum += in + out;
    }
    if (next != recorded.size() || errors.perScene.empty())
        return std::nullopt;
    errors.meanError = static_cast<double>(sum) / (2.0 * static_cast<double>(next));
    errors.meanSigned = static_cast<double>(signedSum) / (2.0 * static_cast<double>(next));
    for (int plain : PlainFramesBeforeTransitions())
        errors.plainBeforeTransition += plain;
    return errors;
}
