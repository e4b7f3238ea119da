#include "engine/VerificationReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "config/EditOptions.h"
#include "edit/Timecode.h"

namespace {

// Below this the differences are the counter's own rounding, not a correction that is off.
constexpr double kWorthCorrectingFrames = 1.0;
// A scene this many frames off its length or less lands as it should.
constexpr int kOffFrames = 1;
// One or two scenes off the same way may be chance (a late reply, a slipping tape); a
// correction changes every later scene, so it needs more of them than that.
constexpr int kFewestScenesForCorrection = 3;
// Scenes whose differences lie further apart than this are not off by one correction.
constexpr int kAgreeingFrames = 1;

const char* VerdictCode(VerificationReport::Verdict verdict) {
    switch (verdict) {
        case VerificationReport::Verdict::WithinOneFrame:
            return "all_within_one_frame";
        case VerificationReport::Verdict::SomeOff:
            return "some_off";
        case VerificationReport::Verdict::Unknown:
            return "unknown";
    }
    return "unknown";
}

const char* RetakesCode(const RetakeRule& rule) {
    if (rule.attempts == 0)
        return "off";
    return rule.recorderReadable ? "on" : "recorder_not_readable";
}

QJsonObject TakeJson(int attempt, const TakeError& error) {
    return {{"attempt", attempt},
            {"difference_frames", error.lengthFrames},
            {"seam_error_frames", error.seamFrames}};
}

}  // namespace

VerificationReport::VerificationReport(std::vector<SceneCheck> scenes, uint32_t timecodeMode,
                                       int outCorrection, StopReason stopReason, RetakeRule retakes)
    : scenes_(std::move(scenes)),
      mode_(timecodeMode),
      outCorrection_(outCorrection),
      stopReason_(stopReason),
      retakes_(retakes) {}

bool VerificationReport::IsOff(const SceneCheck& scene) {
    return scene.Off(kOffFrames);
}

bool VerificationReport::StillOff(const SceneCheck& scene) const {
    return scene.Off(retakes_.toleranceFrames);
}

QString TakeErrorsText(const SceneCheck& scene) {
    const auto signedText = [](int32_t frames) {
        return frames > 0 ? QStringLiteral("+%1").arg(frames) : QString::number(frames);
    };
    std::vector<TakeError> takes = scene.earlierTakes;
    if (scene.Readable())
        takes.push_back(scene.Error());
    QStringList texts;
    for (const TakeError& take : takes)
        texts << signedText(take.lengthFrames) +
                     (take.seamFrames != 0 ? u'/' + signedText(take.seamFrames) : QString());
    return texts.join(QStringLiteral(", "));
}

VerificationReport::Verdict VerificationReport::OverallVerdict() const {
    if (std::any_of(scenes_.begin(), scenes_.end(), IsOff))
        return Verdict::SomeOff;
    const bool allKnown =
        !scenes_.empty() && std::all_of(scenes_.begin(), scenes_.end(),
                                        [](const SceneCheck& s) { return s.Readable(); });
    return allKnown ? Verdict::WithinOneFrame : Verdict::Unknown;
}

QByteArray VerificationReport::Json() const {
    QJsonArray scenes;
    for (const SceneCheck& s : scenes_) {
        QJsonObject o{{"scene", s.scene},
                      {"row", s.row},
                      {"expected_frames", s.expectedFrames},
                      {"readable", s.Readable()}};
        if (s.resumed)
            o.insert("resumed", true);
        if (s.startPosition)
            o.insert("start_position", *s.startPosition);
        if (s.endPosition) {
            o.insert("seam_position", *s.endPosition);
            o.insert("seam", FramesToText(*s.endPosition, mode_));
        }
        if (s.Readable()) {
            o.insert("recorded_frames", s.RecordedFrames());
            o.insert("difference_frames", s.Difference());
            o.insert("seam_error_frames", s.seamFrames);
            o.insert("off", IsOff(s));
        }
        if (s.underRetake)
            o.insert("under_retake", true);
        if (const auto strays = s.StraysAfterEnd()) {
            o.insert("stray_frames", strays->frames);
            o.insert("stray_take", strays->take);
        }
        if (!s.earlierTakes.empty()) {
            // Every take of a retaken scene, the last (on tape) included, and whether even
            // that one is off.
            QJsonArray takes;
            for (size_t i = 0; i < s.earlierTakes.size(); ++i)
                takes.append(TakeJson(static_cast<int>(i) + 1, s.earlierTakes[i]));
            if (s.Readable())
                takes.append(TakeJson(s.Attempts(), s.Error()));
            o.insert("attempts", s.Attempts());
            o.insert("takes", takes);
            o.insert("still_off", StillOff(s));
        }
        scenes.append(o);
    }
    QJsonObject report{{"scenes", scenes},
                       {"out_correction", outCorrection_},
                       {"verdict", VerdictCode(OverallVerdict())},
                       {"retakes", RetakesCode(retakes_)},
                       {"retake_attempts", retakes_.attempts},
                       {"retake_tolerance_frames", retakes_.toleranceFrames}};
    if (const auto suggested = SuggestedOutCorrection()) {
        report.insert("suggested_out_correction", *suggested);
        report.insert("correction_from_scenes", CorrectionEvidence()->scenes);
    }
    if (stopReason_.cause != StopCause::None) {
        QJsonObject stop{{"cause", stopReason_.CauseCode()}};
        if (stopReason_.deck != StopDeck::None)
            stop.insert("deck", stopReason_.DeckCode());
        if (stopReason_.step != StopStep::None)
            stop.insert("step", stopReason_.StepCode());
        report.insert("stop_reason", stop);
    }
    return QJsonDocument(report).toJson();
}

std::optional<VerificationReport::Evidence> VerificationReport::CorrectionEvidence() const {
    std::vector<int32_t> differences;
    for (const SceneCheck& s : scenes_)
        if (s.Measured())
            differences.push_back(s.Difference());
    if (static_cast<int>(differences.size()) < kFewestScenesForCorrection)
        return std::nullopt;
    const auto [least, most] = std::minmax_element(differences.begin(), differences.end());
    const double mean = std::accumulate(differences.begin(), differences.end(), 0.0) /
                        static_cast<double>(differences.size());
    if (*most - *least > kAgreeingFrames || std::fabs(mean) < kWorthCorrectingFrames)
        return std::nullopt;
    return Evidence{mean, static_cast<int>(differences.size())};
}

std::optional<int> VerificationReport::SuggestedOutCorrection() const {
    // A recorder that takes longer to pause than the correction allows records too much: its
    // pause must go out that much earlier.
    const auto evidence = CorrectionEvidence();
    if (!evidence)
        return std::nullopt;
    return std::clamp(outCorrection_ + static_cast<int>(std::lround(evidence->meanDifference)), 0,
                      EditOptions::kMaxCorrection);
}
