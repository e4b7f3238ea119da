#include "edit/EdlParser.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <utility>

#include "config/TextDecoding.h"
#include "edit/EdlEventLine.h"
#include "edit/EdlFormat.h"
#include "edit/EdlReelNames.h"
#include "edit/EffectCodes.h"
#include "edit/SceneList.h"
#include "edit/Timecode.h"

namespace {

struct OwnCodes {
    int effect = 0;
    int transition = 0;
};

struct TapeMark {
    QString memo;
    OwnCodes codes;
};

// A video event that becomes a scene, with what the lines after it said about it.
struct SceneEvent {
    EdlEventLine line;
    std::optional<QString> fromClip, toClip;  // the text after the colon, as written
    std::optional<OwnCodes> own;              // written by this program
    std::vector<TapeMark> tapesBefore;        // our own tape-change rows just before it
};

const QRegularExpression kOwnScenePattern(QRegularExpression::anchoredPattern(
    QRegularExpression::escape(edl::kOwnScene) +
    QStringLiteral(" EFFECT ([0-9]{1,3}) TRANSITION ([0-9]{1,3})\\s*")));
const QRegularExpression kOwnTapePattern(QRegularExpression::anchoredPattern(
    QRegularExpression::escape(edl::kOwnTape) +
    QStringLiteral(" EFFECT ([0-9]{1,3}) TRANSITION ([0-9]{1,3}):(?: (.*))?")));
const QRegularExpression kLineBreak(QStringLiteral("\r\n|\n|\r"));

QString WithoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    return text.mid(start);
}

std::optional<OwnCodes> CodesOf(const QRegularExpressionMatch& match) {
    const OwnCodes codes{match.captured(1).toInt(), match.captured(2).toInt()};
    if (codes.effect > effectcodes::kLastEffect || codes.transition > effectcodes::kLastTransition)
        return std::nullopt;
    return codes;
}

class EdlReader {
public:
    EdlReader(uint32_t mode, EdlImport& result) : m_mode(mode), m_result(result) {}

    // False when the line refuses the file.
    bool ReadLine(const QString& text, int number);
    bool HasScenes() const { return !m_events.empty(); }
    // The rows from the events read, in record order.
    void BuildRows();

private:
    void ReadFrameCountMode(const QString& value);
    void ReadComment(const QString& text);
    bool ReadEvent(const QString& text, int number);
    // Counts an event that makes no scene by its reason.
    void Skip(const EdlEventLine& event);
    void AddRow(Scene row, bool isScene);
    Scene SceneRow(const SceneEvent& event) const;

    EdlImportReport& report() { return m_result.report; }

    uint32_t m_mode;
    EdlImport& m_result;
    std::vector<SceneEvent> m_events;
    std::vector<TapeMark> m_pendingTapes;
    // The latest event line made a scene (the comments after it are its own).
    bool m_latestIsScene = false;
    // The latest event line was an empty cut, the first half of a transition if the next event
    // line is a transition with the same number.
    std::optional<QString> m_emptyCutNumber;
};

bool EdlReader::ReadLine(const QString& text, int number) {
    const QString line = text.trimmed();
    if (line.isEmpty()) {
        // Editors, and our own export, set the events off from the head with a blank line.
    } else if (line.startsWith(edl::kTitle)) {
        // The title names the list in the editor; ours keeps its file name.
    } else if (line.startsWith(edl::kFrameCountMode)) {
        ReadFrameCountMode(line.mid(edl::kFrameCountMode.size()).trimmed());
    } else if (line.startsWith(u'*')) {
        ReadComment(WithoutLeadingBlanks(text));
    } else if (line.startsWith(QStringLiteral("M2"))) {
        ++report().speedLines;
    } else if (line.startsWith(QStringLiteral("SPLIT:"))) {
        ++report().splitLines;
    } else if (line[0].isDigit() && line[0].unicode() < 0x80) {
        return ReadEvent(line, number);
    } else {
        ++report().otherLines;
    }
    return true;
}

void EdlReader::ReadFrameCountMode(const QString& value) {
    using Mode = EdlImportReport::FrameCountMode;
    const QString upper = value.toUpper();
    if (upper == edl::kDropFrame) {
        report().frameCountMode = Mode::Drop;
        report().frameCountModeDiffers = m_mode != Fps30Drop;
    } else if (upper == edl::kNonDropFrame) {
        report().frameCountMode = Mode::NonDrop;
        report().frameCountModeDiffers = m_mode == Fps30Drop;
    } else {
        ++report().otherLines;
    }
}

void EdlReader::ReadComment(const QString& line) {
    // The memos of our own lines end where the line ends: blanks at their end are the memo's.
    if (const auto tape = kOwnTapePattern.match(line); tape.hasMatch()) {
        if (const auto codes = CodesOf(tape)) {
            m_pendingTapes.push_back({tape.captured(3), *codes});
            return;
        }
    }
    SceneEvent* event = m_latestIsScene ? &m_events.back() : nullptr;
    if (event && line.startsWith(edl::kFromClipName)) {
        event->fromClip = line.mid(edl::kFromClipName.size());
    } else if (event && line.startsWith(edl::kToClipName)) {
        event->toClip = line.mid(edl::kToClipName.size());
    } else if (const auto own = kOwnScenePattern.match(line); event && own.hasMatch()) {
        event->own = CodesOf(own);
        if (!event->own)
            ++report().commentLines;
    } else {
        ++report().commentLines;
    }
}

bool EdlReader::ReadEvent(const QString& text, int number) {
    EdlRefusal refusal = EdlRefusal::None;
    std::optional<EdlEventLine> event = ParseEdlEventLine(text, m_mode, &refusal);
    if (!event) {
        m_result.refusal = refusal;
        m_result.refusedLine = number;
        return false;
    }
    // The empty cut before a transition only names the outgoing source: it is no event of its
    // own, and the transition line that follows carries the incoming scene.
    if (m_emptyCutNumber && *m_emptyCutNumber == event->number &&
        event->transition != EdlEventLine::Transition::Cut) {
        --report().eventsWithoutDuration;
    }
    m_emptyCutNumber.reset();
    const bool makesScene = event->track == EdlEventLine::Track::Video &&
                            event->transition != EdlEventLine::Transition::Key &&
                            !IsBlackReelName(event->reel) && event->duration() > 0;
    m_latestIsScene = makesScene;
    if (!makesScene) {
        Skip(*event);
        return true;
    }
    SceneEvent scene;
    scene.line = std::move(*event);
    scene.tapesBefore = std::exchange(m_pendingTapes, {});
    m_events.push_back(std::move(scene));
    return true;
}

void EdlReader::Skip(const EdlEventLine& event) {
    if (event.track == EdlEventLine::Track::AudioOnly) {
        ++report().audioOnlyEvents;
    } else if (event.duration() <= 0) {
        ++report().eventsWithoutDuration;
        if (event.transition == EdlEventLine::Transition::Cut)
            m_emptyCutNumber = event.number;
    } else if (event.transition == EdlEventLine::Transition::Key) {
        ++report().keyEvents;
    } else {
        ++report().blackEvents;
    }
}

Scene EdlReader::SceneRow(const SceneEvent& event) const {
    Scene row;
    row.inText = event.line.sourceIn;
    row.outText = event.line.sourceOut;
    if (event.own) {
        // Our own files write one blank after the colon and the memo exactly as it was.
        const QString memo = event.fromClip.value_or(QString());
        row.memo = memo.startsWith(u' ') ? memo.mid(1) : memo;
        row.effect = event.own->effect;
        row.transition = event.own->transition;
        return row;
    }
    const bool transition = event.line.transition != EdlEventLine::Transition::Cut;
    if (transition && event.toClip && !event.toClip->trimmed().isEmpty())
        row.memo = event.toClip->trimmed();
    else if (event.fromClip && !event.fromClip->trimmed().isEmpty())
        row.memo = event.fromClip->trimmed();
    else
        row.memo = event.line.reel;
    return row;
}

void EdlReader::AddRow(Scene row, bool isScene) {
    if (m_result.rows.size() >= static_cast<size_t>(SceneList::kMaxRows)) {
        if (isScene)
            ++report().eventsLeftOut;
        return;
    }
    // TAB and CR separate fields and lines of a project file, so a memo cannot keep them: they
    // become blanks here, as saving would make them, and the list saves as it was imported.
    row.memo.replace(u'\t', u' ').replace(u'\r', u' ');
    m_result.rows.push_back(std::move(row));
    ++(isScene ? report().scenes : report().tapes);
}

Scene TapeRow(const QString& memo, OwnCodes codes = {}) {
    Scene row;
    row.tapeChange = true;
    row.memo = memo;
    row.effect = codes.effect;
    row.transition = codes.transition;
    return row;
}

void EdlReader::BuildRows() {
    std::stable_sort(m_events.begin(), m_events.end(), [](const auto& a, const auto& b) {
        return a.line.recordInFrames < b.line.recordInFrames;
    });
    std::optional<QString> reel;
    for (const SceneEvent& event : m_events) {
        for (const TapeMark& tape : event.tapesBefore)
            AddRow(TapeRow(tape.memo, tape.codes), false);
        if (event.tapesBefore.empty() && reel != event.line.reel)
            AddRow(TapeRow(event.line.reel), false);
        reel = event.line.reel;
        AddRow(SceneRow(event), true);
    }
    for (const TapeMark& tape : m_pendingTapes)
        AddRow(TapeRow(tape.memo, tape.codes), false);
}

}  // namespace

EdlImport ParseEdl(const QByteArray& bytes, uint32_t mode, int language) {
    EdlImport result;
    if (bytes.size() > kMaxEdlBytes) {
        result.refusal = EdlRefusal::TooLarge;
        return result;
    }
    QString text = DecodeLegacyText(bytes, language);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    EdlReader reader(mode, result);
    const QStringList lines = text.split(kLineBreak);
    // A final line end starts no line of its own.
    const qsizetype count = lines.size() - (lines.last().isEmpty() ? 1 : 0);
    for (qsizetype i = 0; i < count; ++i) {
        if (!reader.ReadLine(lines[i], static_cast<int>(i) + 1))
            return result;
    }
    // A file without a single scene is no list to replace the user's list with: most likely it
    // is not an EDL at all.
    if (!reader.HasScenes()) {
        result.refusal = EdlRefusal::NoVideoEvent;
        return result;
    }
    reader.BuildRows();
    return result;
}
