// An engine host for tests: keeps a log of everything the engine showed, answers the tape-change
// question as told, and lets a test press Stop. The deck view is real: view 1 addresses the
// player and starts the polling, view 2 the recorder.
#pragma once

#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

#include "edit/SceneList.h"
#include "engine/EngineHost.h"

class CaptionTable;
class TarnVtr;

class TestHost : public EngineHost {
public:
    // The verification table is read in the captions' language.
    TestHost(TarnVtr& vtr, const CaptionTable& captions) : vtr_(vtr), captions_(captions) {}

    AutoDevices devices;
    AutoOptions options;
    SceneList list{Fps30};
    bool continueAfterTapeChange = true;
    // The last verification report's table as text, and its JSON.
    QString verification;
    QByteArray verificationJson;
    // Called with every log entry as it is made (the tape-change question before its answer).
    std::function<void(const QString&)> onEvent;
    // Asked at every step check, on the engine's thread: true presses Stop. A test may also
    // change the bench there, at an exact moment of the run.
    std::function<bool()> stopWhen;

    void PressStop() { stop_ = true; }
    QStringList Log() const { return log_; }
    // Every progress of an Auto Rec shown, in order, kept apart from the log.
    std::vector<RunProgress> progressShown;
    QStringList progressTexts;
    // The resume points the engine handed over at the ends of Auto Recs.
    std::vector<ResumePoint> keptResumePoints;
    int Count(const QString& entry) const { return log_.count(entry); }

    AutoDevices Devices() const override { return devices; }
    AutoOptions Options() const override { return options; }
    const SceneList& Scenes() const override { return list; }
    void ShowProgress(const QString& title, int flags) override;
    void CloseProgress() override;
    void ShowRunProgress(const RunProgress& progress, const QString& text) override;
    bool StopRequested() const override;
    bool ConfirmTapeChange(const QString& title, const QString& text) override;
    void ShowVerification(const VerificationReport& report) override;
    void ShowFinalMessage(const QString& title, const QString& text, bool success) override;
    void KeepResumePoint(const ResumePoint& point) override { keptResumePoints.push_back(point); }
    void SelectRow(int i) override;
    void ShowRecorderRecording() override;
    void SetArrowFlashing(bool on) override;
    void EnableAutoRec() override;
    void EnableReview() override;
    void EnableWindows() override;
    int CurrentView() const override { return view_; }
    void SelectView(int view) override;
    void PlayBeep() override;

private:
    void Note(const QString& entry);

    TarnVtr& vtr_;
    const CaptionTable& captions_;
    mutable std::atomic<bool> stop_{false};
    QStringList log_;
    int view_ = kPlayerView;
};
