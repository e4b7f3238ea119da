// Exclusive use of the Tarn link. One thread (DefVtrCmd) owns the frame layer: it runs jobs that
// other threads submit, and between jobs, while polling is on, the deck's status polling. So
// exchanges never interleave, a command waits at most for the poll step in progress, and code
// already running on the link thread (the editing engine's step) issues its commands at once.
// Windows post their jobs and get the answer as a queued call: the GUI thread never waits.
#pragma once

#include <QThread>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "link/CTarnIO.h"
#include "link/ReplyTarget.h"

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

    // Queues job and returns at once; once the link thread has run it (behind the jobs queued
    // before and the poll pass in progress), done gets the result as a queued call on context's
    // thread. Nothing is called once context is destroyed. A closed link answers NotWritten.
    void Post(QObject* context, LinkJob job, std::function<void(const LinkJobResult&)> done);
    // The same for work with an answer of its own (a bus scan, a measurement): work runs on the
    // link thread, where its commands go out at once. A closed link answers Answer{}.
    template <typename Answer>
    void Post(QObject* context, std::function<Answer()> work, std::function<void(Answer)> done);

    // Queues work for the link thread and returns at once; nobody waits for it, and a closing
    // link drops it. For the link thread's own work (an operation's start).
    void Post(std::function<void()> work);

    // Runs job with the link held and returns when it has run: at once on the link thread
    // (inside another job or a poll pass), elsewhere after waiting for the link thread. For
    // threads that may wait (the command line, workers); windows use Post.
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
    // Queues a posted job: run on the link thread, or abandon when the link closes first.
    void Enqueue(std::function<void()> run, std::function<void()> abandon);
    void RunPending(PendingJob& pending);

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

template <typename Answer>
void TarnLink::Post(QObject* context, std::function<Answer()> work,
                    std::function<void(Answer)> done) {
    auto target = ReplyTarget::For(context);
    auto deliver = [target, done](Answer answer) {
        target->Deliver([done, answer = std::move(answer)] { done(answer); });
    };
    Enqueue([work = std::move(work), deliver] { deliver(work()); },
            [deliver] { deliver(Answer{}); });
}
