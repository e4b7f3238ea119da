#include "cli/TerminalEngineHost.h"

#include <QFile>

#include <atomic>
#include <iostream>
#include <string>
#include <utility>

#include "cli/CliIo.h"
#include "config/SettingsFile.h"
#include "edit/SceneList.h"
#include "edit/Timecode.h"
#include "engine/RunSummary.h"
#include "engine/StopSignals.h"
#include "engine/VerificationReport.h"
#include "engine/VerificationTable.h"
#include "link/TarnVtr.h"

TerminalEngineHost::TerminalEngineHost(TarnVtr& vtr, const SceneList& list,
                                       const AutoDevices& devices, const AutoOptions& options,
                                       bool confirmTapeChanges, const SettingsFile& settings,
                                       const CaptionTable& captions)
    : vtr_(vtr),
      list_(list),
      devices_(devices),
      options_(options),
      confirmTapeChanges_(confirmTapeChanges),
      settings_(settings),
      captions_(captions) {}

void TerminalEngineHost::CatchInterrupt() {
    stopsignals::Catch();
}

void TerminalEngineHost::ShowRunProgress(const RunProgress& progress, const QString& text) {
    // One line a scene: a terminal is a log, not a gauge.
    if (progress.scene == shownScene_)
        return;
    shownScene_ = progress.scene;
    PrintLine(QStringLiteral("  %1, %2% of the list")
                  .arg(QString(text).replace(QChar(u'\n'), QStringLiteral(", ")))
                  .arg(progress.percent));
}

bool TerminalEngineHost::Interrupted() {
    return stopsignals::Received() != 0;
}

bool TerminalEngineHost::StopRequested() const {
    return Interrupted();
}

bool TerminalEngineHost::ConfirmTapeChange(const QString&, const QString& text) {
    if (confirmTapeChanges_) {
        PrintLine(text + " (confirmed)");
        return true;
    }
    // The box's two answers: OK (Enter) goes on, Stop stops, and so does the end of the input.
    PrintLine(text + " [Enter goes on; stop, or the end of the input, stops]");
    std::string line;
    while (std::getline(std::cin, line) && !Interrupted()) {
        const QString answer = QString::fromStdString(line).trimmed().toLower();
        if (answer.isEmpty() || answer == QLatin1String("ok"))
            return true;
        if (answer == QLatin1String("stop"))
            return false;
        PrintLine(QStringLiteral("Enter goes on; stop stops"));
    }
    return false;
}

void TerminalEngineHost::ShowVerification(const VerificationReport& report) {
    lastRunSummary_ = RunSummaryText(report, captions_);
    PrintLine("verification: what the recorder took in of each scene");
    VerificationTable table = BuildVerificationTable(report, captions_);
    table.stopReason.clear();  // the final message says why the run stopped
    for (const QString& line : table.Text().split('\n', Qt::SkipEmptyParts))
        PrintLine(line);
    if (verificationFile_.isEmpty())
        return;
    QFile file(verificationFile_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(report.Json()) < 0 ||
        !file.flush())
        PrintError("autorec: the verification report could not be written to " + verificationFile_);
}

void TerminalEngineHost::ShowFinalMessage(const QString&, const QString& text, bool success) {
    ++finalMessages_;
    if (success)
        PrintLine(text);
    else
        PrintError(text);
    PrintResumePoint();
}

void TerminalEngineHost::KeepResumePoint(const ResumePoint& point) {
    // Kept at the start of a run and after every scene complete on tape, each time at once: a
    // process killed a moment later leaves the point behind.
    keptPoint_ = point;
    keptStored_ = StoreResumePoint(settings_, point);
}

void TerminalEngineHost::PrintResumePoint() {
    const ResumePoint point = std::exchange(keptPoint_, ResumePoint{});
    if (point.IsEmpty())
        return;
    if (!keptStored_) {
        PrintError("autorec: the resume point could not be written to " + settings_.iniPath());
        return;
    }
    const QString done = point.lastRow == 0 ? QStringLiteral("no scene complete yet")
                                            : QStringLiteral("row %1 complete").arg(point.lastRow);
    PrintLine(QStringLiteral("resume point: %1, recorder at %2 (--resume goes on)")
                  .arg(done, FramesToText(point.recorderAt, list_.timecodeMode())));
}

void TerminalEngineHost::SelectRow(int i) {
    const Scene& row = list_.row(i);
    if (row.tapeChange) {
        PrintLine(QStringLiteral("row %1: tape change").arg(i, 2, 10, QChar(u'0')));
        return;
    }
    PrintLine(QStringLiteral("row %1: %2 - %3 (%4)%5")
                  .arg(i, 2, 10, QChar(u'0'))
                  .arg(row.inText, row.outText, row.durationText,
                       row.durationFrames == 0 ? QStringLiteral(", passed over") : QString()));
}

void TerminalEngineHost::SelectView(int view) {
    view_ = view;
    vtr_.SetId(view == kRecorderView ? devices_.recorderId : devices_.playerId);
    vtr_.StartPolling();
}

void TerminalEngineHost::PlayBeep() {
    PrintLine("beep at" + vtr_.State().counterText);
}
