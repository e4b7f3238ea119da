// Exclusive use of the Tarn link. One thread (DefVtrCmd) owns the frame layer: it runs jobs that
// other threads submit, and between jobs, while polling is on, the deck's status polling. So
// exchanges never interleave, a command from the GUI waits at most for the poll step in
// progress, and code already running on the link thread (the editing engine's step) issues its
// commands at once.
#pragma once

#include <QThread>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "link/CTarnIO.h"

// What a job hands back: its own verdict and, copied when it ended, the state of its last
// exchange (the controller lights its lamps from these).
struct LinkJobResult {
    bool ok = false;
    LinkResult result = LinkResult::Ok;
    uint8_t status = 0;  // status byte of the last reply (0 after a missing reply)
    TarnFrame request{};
    TarnFrame reply{};
    bool refused = false;  // TryRun: another command held the link, nothing was sent

    explicit operator bool() const { return ok; }
};

// A job: any sequence of exchanges that must not be interleaved with others.
using LinkJob = std::function<bool(CTarnIO&)>;

// Work the link thread does between jobs while polling is on (the deck's status poll).
class LinkPoller {
public:
    virtual ~LinkPoller() = default;
    virtual void PollPass() = 0;
};

class DefVtrCmd;

class TarnLink {
public:
    // Starts the link thread at once; it serves jobs until the link is destroyed.
    explicit TarnLink(CTarnIO& io);
    ~TarnLink();
    TarnLink(const TarnLink&) = delete;
    TarnLink& operator=(const TarnLink&) = delete;

    ByteLine& Comm() { return io_.Comm(); }
    CTarnIO& IO() { return io_; }

    // Runs job with the link held and returns when it has run. On the link thread (inside
    // another job or a poll pass) it runs at once; elsewhere it waits for the link thread,
    // serving its own events meanwhile when called on the GUI thread (user input excluded).
    LinkJobResult Run(const LinkJob& job);
    // Like Run, but from another thread it refuses at once (refused = true) while another
    // thread's command is waiting or running, so repeated user commands cannot pile up.
    LinkJobResult TryRun(const LinkJob& job);
    // One raw exchange, no retry: destination id and seven command bytes.
    LinkJobResult Exchange(uint8_t id, const TarnCommand& command);

    // Polling on: poller->PollPass() runs back to back between jobs.
    void StartPolling(LinkPoller& poller);
    // Polling off; returns once the pass in progress has ended (at once on the link thread).
    void StopPolling();
    bool IsPolling() const;

    bool OnLinkThread() const;

    // Link thread only: runs the jobs waiting now (not those submitted meanwhile).
    void ServePending();
    // Link thread only: keeps serving jobs until done() is true (true), or until polling is
    // stopped or the link shuts down (false). For waits on another thread's answer, e.g. the
    // user's reply to a question the engine asked through the GUI. Call Wake() after making
    // done() true to end the wait without delay.
    bool ServeJobsUntil(const std::function<bool()>& done);
    void Wake();

private:
    friend class DefVtrCmd;
    struct PendingJob;

    LinkJobResult Submit(const LinkJob& job, bool refuseWhenBusy);
    LinkJobResult Execute(const LinkJob& job);
    void WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& condition);

    // Link thread side, used by DefVtrCmd.
    bool WaitForWork();
    void RunPollPass();
    void FailRemainingJobs();
    // The thread's last act: lets the destructor see its end through our own lock (a thread
    // checker cannot see into QThread::wait).
    void NoteThreadEnded();

    CTarnIO& io_;
    mutable std::mutex mutex_;
    std::condition_variable workCv_;  // wakes the link thread
    std::condition_variable doneCv_;  // wakes threads waiting for a job or a pass to end
    std::deque<std::shared_ptr<PendingJob>> queue_;
    int foreignJobsInFlight_ = 0;
    LinkPoller* poller_ = nullptr;
    bool passRunning_ = false;
    bool stopPollingRequested_ = false;
    bool quit_ = false;
    bool threadEnded_ = false;
    std::unique_ptr<DefVtrCmd> thread_;
};
