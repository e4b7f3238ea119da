// The automatic editing engine's host on a terminal: a line per row as the run reaches it with
// where the run stands (scene of scenes, share of the list, tape left), the
// preview beep as a line, the tape-change question asked on standard input (or confirmed at once
// with --yes; end of input stops the run), the final message printed, and Ctrl+C as the Stop
// button (SIGTERM, SIGHUP and SIGQUIT stop the run the same way, then the command exits 1). The
// deck view addresses the player or the recorder and starts the polling.
#pragma once

#include <QString>
#include <atomic>

#include "engine/EngineHost.h"

class CaptionTable;
class SceneList;
class SettingsFile;
class TarnVtr;

class TerminalEngineHost : public EngineHost {
public:
    // The resume point is kept in `settings`, the program folder's; the verification table is
    // printed in the captions' language.
    TerminalEngineHost(TarnVtr& vtr, const SceneList& list, const AutoDevices& devices,
                       const AutoOptions& options, bool confirmTapeChanges,
                       const SettingsFile& settings, const CaptionTable& captions);

    // Ctrl+C and the ending signals set the stop request from now on (instead of ending the
    // process at once).
    static void CatchInterrupt();
    // One of them came since CatchInterrupt.
    static bool Interrupted();
    void SetVerificationFile(const QString& path) { verificationFile_ = path; }

    AutoDevices Devices() const override { return devices_; }
    AutoOptions Options() const override { return options_; }
    const SceneList& Scenes() const override { return list_; }
    void ShowRunProgress(const RunProgress& progress, const QString& text) override;
    bool StopRequested() const override;
    bool ConfirmTapeChange(const QString& title, const QString& text) override;
    // Printed, and written as JSON to the file of SetVerificationFile.
    void ShowVerification(const VerificationReport& report) override;
    // A run that did not finish is followed by where it can be resumed from.
    void ShowFinalMessage(const QString& title, const QString& text, bool success) override;
    void KeepResumePoint(const ResumePoint& point) override;
    void SelectRow(int i) override;
    int CurrentView() const override { return view_; }
    void SelectView(int view) override;
    void PlayBeep() override;

    // How many final messages this host has shown (a soak checks that every run showed one).
    int FinalMessagesShown() const { return finalMessages_.load(); }
    // The last Auto Rec's ending and verification (RunSummaryText); empty before one reported.
    const QString& LastRunSummary() const { return lastRunSummary_; }

private:
    void PrintResumePoint();

    TarnVtr& vtr_;
    const SceneList& list_;
    AutoDevices devices_;
    AutoOptions options_;
    bool confirmTapeChanges_;
    const SettingsFile& settings_;
    const CaptionTable& captions_;
    int view_ = kPlayerView;
    int shownScene_ = 0;
    QString verificationFile_;
    QString lastRunSummary_;
    ResumePoint keptPoint_;  // the running or last run's, until the final message shows it
    bool keptStored_ = true;
    std::atomic<int> finalMessages_{0};
};
