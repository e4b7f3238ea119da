// The controller window on the demo bench: a simulated camcorder (id 1) and VCR (id 2) served on
// a pseudo-terminal in real time, the real link stack, an edit list and the controller.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "controller/ControllerDevices.h"
#include "controller/SoundPlayer.h"
#include "controller/TfrmAvCtl.h"
#include "edit/SceneList.h"
#include "link/CComm.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/TarnLink.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"
#include "sim/Simulator.h"
#include "ui/EditHistory.h"

// A clock whose tick count a test can move forward; waits are real.
class SkippingClock : public Clock {
public:
    int64_t NowMs() const override { return real_.NowMs() + skippedMs_; }
    int64_t Sleep(int ms) override { return real_.Sleep(ms); }
    void Skip(int64_t ms) { skippedMs_ += ms; }

private:
    SteadyClock real_;
    int64_t skippedMs_ = 0;
};

// The device choice of a test: the bench's ids, and the serial line opened on the simulator.
class BenchDevices : public ControllerDevices {
public:
    BenchDevices(CComm& comm, std::string path) : comm_(comm), path_(std::move(path)) {}
    int PlayerId() const override { return player; }
    int RecorderId() const override { return recorder; }
    bool UseEditTerminal() const override { return useEditTerminal; }
    bool PlayerHasEffects() const override { return playerHasEffects; }
    bool LoadAndFindPlayer() override {
        if (!comm_.IsOpen())
            comm_.OpenPath(QString::fromStdString(path_));
        return playerKnown;
    }
    void ShowDeviceSetup() override {
        ++setupShown;
        if (duringSetup)
            duringSetup();
    }

    int player = 1;
    int recorder = 2;
    bool useEditTerminal = false;
    bool playerHasEffects = true;
    bool playerKnown = true;
    int setupShown = 0;
    // What the user does while the setup dialog is up.
    std::function<void()> duringSetup;

private:
    CComm& comm_;
    std::string path_;
};

class ControllerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Serves events until done() or the timeout (ms); returns done().
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);
    // The deck modes requested of device id since the last ClearSent, in order.
    std::vector<int> SentModes(int id = 1) const;
    int CountSent(int id, int mode) const;
    void ClearSent();
    // Puts the simulated deck into mode at position (frames) and waits until the controller
    // shows that mode.
    void PutDeck(int id, int mode, int position);
    // Lit lamps as a string in the order Rev Play FF Rec SlowR Pause Slow Stop, e.g. "Play FF",
    // with "<" after Play when it shows reverse play.
    QString LitLamps() const;
    // Each of these waits for the answer to the command it sent.
    void Press(const char* keyName);
    void Release(const char* keyName);
    void ClickKey(const char* keyName);
    void KeypadPress(int key, bool autoRepeat = false);
    void KeypadRelease(int key);
    void AwaitAnswer();
    // Adds a scene row after the current one, with its points as texts ("00:01:00:00").
    void AddScene(const char* in, const char* out);

    QTemporaryDir home;
    std::shared_ptr<tarnsim::SimClock> simClock;  // null: real time; set before SetUp
    std::unique_ptr<tarnsim::Simulator> sim;
    CComm comm;
    SteadyClock linkClock;
    SkippingClock clock;
    std::unique_ptr<CTarnIO> io;
    std::unique_ptr<TarnLink> link;
    std::unique_ptr<TarnSys> sys;
    std::unique_ptr<TarnVtr> vtr;
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<SettingsFile> settings;
    CaptionTable captions;
    SceneList scenes{Fps30};
    EditHistory history{scenes, captions};
    std::unique_ptr<SoundPlayer> sounds;
    std::unique_ptr<BenchDevices> devices;
    std::unique_ptr<TfrmAvCtl> ctl;
};
