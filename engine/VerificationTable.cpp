#include "engine/VerificationTable.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "config/CaptionTable.h"
#include "edit/Timecode.h"
#include "engine/VerificationReport.h"

namespace {

constexpr int kColumnGap = 2;

QString Signed(int frames) {
    return frames > 0 ? QStringLiteral("+%1").arg(frames) : QString::number(frames);
}

QString Advice(const VerificationReport& report, const CaptionTable& captions) {
    const auto evidence = report.CorrectionEvidence();
    const auto suggested = report.SuggestedOutCorrection();
    if (!evidence || !suggested)
        return {};
    const char* key = evidence->meanDifference > 0 ? "MSG_VERIFY_LONGER" : "MSG_VERIFY_SHORTER";
    return captions.CaptionText(QLatin1String(key))
               .arg(QLocale().toString(std::fabs(evidence->meanDifference), 'f', 1))
               .arg(*suggested)
               .arg(report.OutCorrection())
               .arg(evidence->scenes) +
           ' ' + captions.CaptionText(QStringLiteral("MSG_VERIFY_START"));
}

VerificationTable::Line NoteLine(const QString& note) {
    VerificationTable::Line line;
    line.note = note;
    line.noteColumn = VerificationTable::ColRecorded;
    return line;
}

// The sentence under a retaken scene: how often it was recorded and how far off each take was;
// for the scene the run stopped in, that its retake did not finish.
VerificationTable::Line RetakeLine(const SceneCheck& scene, bool stillOff,
                                   const CaptionTable& captions) {
    if (scene.underRetake)
        return NoteLine(
            captions.CaptionText(QStringLiteral("VF_UNDERRETAKE")).arg(scene.Attempts()));
    VerificationTable::Line line = NoteLine(captions.CaptionText(QStringLiteral("VF_RETAKEN"))
                                                .arg(scene.Attempts())
                                                .arg(TakeErrorsText(scene)));
    if (stillOff)
        line.note += QStringLiteral(": ") + captions.CaptionText(QStringLiteral("VF_STILLOFF"));
    line.flagged = stillOff;
    return line;
}

// A longer take's end left on the tape after the last scene: source frames from past its out
// point, which no scene records over.
VerificationTable::Line StraysLine(const SceneCheck::Strays& strays, const CaptionTable& captions) {
    const char* key = strays.frames == 1 ? "VF_STRAY" : "VF_STRAYS";
    VerificationTable::Line line =
        NoteLine(captions.CaptionText(QLatin1String(key)).arg(strays.frames).arg(strays.take));
    line.flagged = true;
    return line;
}

}  // namespace

VerificationTable BuildVerificationTable(const VerificationReport& report,
                                         const CaptionTable& captions) {
    const auto text = [&captions](const char* key) {
        return captions.CaptionText(QLatin1String(key));
    };
    VerificationTable table;
    table.header = QStringList{text("VF_SCENE"),    text("VF_ROW"),  text("VF_EXPECTED"),
                               text("VF_RECORDED"), text("VF_DIFF"), text("VF_SEAM")};
    for (const SceneCheck& s : report.Scenes()) {
        if (s.resumed && s.startPosition) {
            VerificationTable::Line mark;
            mark.resumeMark = true;
            mark.note =
                text("VF_RESUMED").arg(FramesToText(*s.startPosition, report.TimecodeMode()));
            table.lines.push_back(mark);
        }
        VerificationTable::Line line;
        line.cells = QStringList{QString::number(s.scene), QString::number(s.row),
                                 QString::number(s.expectedFrames)};
        if (s.Readable()) {
            line.difference = s.Difference();
            line.cells << QString::number(s.RecordedFrames()) << Signed(s.Difference())
                       << FramesToText(*s.endPosition, report.TimecodeMode());
        } else {
            line.note = text("VF_NOREAD");
            line.noteColumn = VerificationTable::ColRecorded;
        }
        line.flagged = report.StillOff(s);
        table.lines.push_back(line);
        if (!s.earlierTakes.empty() || s.underRetake)
            table.lines.push_back(RetakeLine(s, line.flagged, captions));
        if (const auto strays = s.StraysAfterEnd())
            table.lines.push_back(StraysLine(*strays, captions));
    }
    table.advice = Advice(report, captions);
    if (report.RetakesUnavailable())
        table.advice = (table.advice + ' ' + text("VF_NORETAKE")).trimmed();
    table.stopReason = report.Stop().Text(captions);
    return table;
}

QString VerificationTable::Text() const {
    std::vector<qsizetype> widths(ColumnCount, 0);
    const auto widen = [&widths](const QStringList& cells) {
        for (qsizetype c = 0; c < cells.size(); ++c)
            widths[static_cast<size_t>(c)] =
                std::max(widths[static_cast<size_t>(c)], cells[c].size());
    };
    widen(header);
    for (const Line& line : lines)
        widen(line.cells);
    const auto join = [&widths](const QStringList& cells, const QString& note) {
        QString out;
        for (qsizetype c = 0; c < cells.size(); ++c)
            out += cells[c].leftJustified(widths[static_cast<size_t>(c)] + kColumnGap);
        return (out + note).trimmed();
    };
    QStringList out{join(header, {})};
    for (const Line& line : lines)
        out << join(line.cells, line.note);
    if (!advice.isEmpty())
        out << QString() << advice;
    if (!stopReason.isEmpty())
        out << QString() << stopReason;
    return out.join('\n') + '\n';
}
