#include "TestHost.h"

#include "engine/VerificationReport.h"
#include "engine/VerificationTable.h"
#include "link/TarnVtr.h"

void TestHost::Note(const QString& entry) {
    log_ << entry;
    if (onEvent)
        onEvent(entry);
}

void TestHost::ShowProgress(const QString& title, int flags) {
    stop_ = false;
    Note(QStringLiteral("progress %1 %2").arg(title).arg(flags));
}

bool TestHost::StopRequested() const {
    if (stopWhen && !stop_.load() && stopWhen())
        stop_ = true;
    return stop_.load();
}

void TestHost::CloseProgress() {
    Note(QStringLiteral("progress closed"));
}

void TestHost::ShowRunProgress(const RunProgress& progress, const QString& text) {
    progressShown.push_back(progress);
    progressTexts << text;
}

bool TestHost::ConfirmTapeChange(const QString&, const QString& text) {
    Note(QStringLiteral("tape change: %1").arg(text));
    return continueAfterTapeChange;
}

void TestHost::ShowFinalMessage(const QString&, const QString& text, bool success) {
    Note(QStringLiteral("%1: %2").arg(success ? "information" : "warning", text));
}

void TestHost::ShowVerification(const VerificationReport& report) {
    verification = BuildVerificationTable(report, captions_).Text();
    verificationJson = report.Json();
    Note(QStringLiteral("verification of %1 scenes").arg(report.Scenes().size()));
}

void TestHost::SelectRow(int i) {
    Note(QStringLiteral("row %1").arg(i));
}

void TestHost::ShowRecorderRecording() {
    Note(QStringLiteral("recorder indicator"));
}

void TestHost::SetArrowFlashing(bool on) {
    Note(QStringLiteral("arrow %1").arg(on ? "on" : "off"));
}

void TestHost::EnableAutoRec() {
    Note(QStringLiteral("auto rec enabled"));
}

void TestHost::EnableReview() {
    Note(QStringLiteral("review enabled"));
}

void TestHost::EnableWindows() {
    Note(QStringLiteral("windows enabled"));
}

void TestHost::SelectView(int view) {
    view_ = view;
    vtr_.SetId(view == kPlayerView ? devices.playerId : devices.recorderId);
    vtr_.StartPolling();
    Note(QStringLiteral("view %1").arg(view));
}

void TestHost::PlayBeep() {
    Note(QStringLiteral("beep"));
}
