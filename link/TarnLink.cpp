#include "link/TarnLink.h"

#include <chrono>

#include "link/DefVtrCmd.h"
#include "link/LinkTiming.h"

struct TarnLink::PendingJob {
    LinkJob job;  // a job a thread waits for (Run)
    bool done = false;
    LinkJobResult result;
    std::function<void()> run;      // a posted job: runs and delivers its answer
    std::function<void()> abandon;  // a posted job the closing link never ran
};

namespace {

LinkJobResult ClosedLinkResult() {
    LinkJobResult r;
    r.result = LinkResult::NotWritten;
    return r;
}

}  // namespace

TarnLink::TarnLink(CTarnIO& io) : io_(io), thread_(std::make_unique<DefVtrCmd>(*this)) {
    thread_->start();
}

TarnLink::~TarnLink() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        poller_ = nullptr;
    }
    workCv_.notify_all();
    {
        std::unique_lock lock(mutex_);
        doneCv_.wait(lock, [this] { return threadEnded_; });
    }
    thread_->wait();
}

bool TarnLink::OnLinkThread() const {
    return QThread::currentThread() == thread_.get();
}

LinkJobResult TarnLink::Run(const LinkJob& job) {
    return Submit(job, false);
}

LinkJobResult TarnLink::TryRun(const LinkJob& job) {
    return Submit(job, true);
}

void TarnLink::Post(QObject* context, LinkJob job, std::function<void(const LinkJobResult&)> done) {
    Post<LinkJobResult>(
        context, [this, job = std::move(job)] { return Execute(job); },
        [done = std::move(done)](LinkJobResult result) { done(result); });
}

void TarnLink::Post(std::function<void()> work) {
    Enqueue(std::move(work), [] {});
}

void TarnLink::Enqueue(std::function<void()> run, std::function<void()> abandon) {
    auto pending = std::make_shared<PendingJob>();
    pending->run = std::move(run);
    pending->abandon = std::move(abandon);
    {
        std::lock_guard lock(mutex_);
        if (!quit_) {
            queue_.push_back(pending);
            ++foreignJobsInFlight_;
            workCv_.notify_all();
            return;
        }
    }
    pending->abandon();
}

LinkJobResult TarnLink::Exchange(uint8_t id, const TarnCommand& command) {
    return Run([id, command](CTarnIO& io) {
        io.PrepareFrame(id, command);
        return io.Transact() == LinkResult::Ok;
    });
}

LinkJobResult TarnLink::Submit(const LinkJob& job, bool refuseWhenBusy) {
    if (OnLinkThread())
        return Execute(job);
    auto pending = std::make_shared<PendingJob>();
    pending->job = job;
    std::unique_lock lock(mutex_);
    if (quit_)
        return ClosedLinkResult();
    if (refuseWhenBusy && foreignJobsInFlight_ > 0) {
        LinkJobResult refused;
        refused.refused = true;
        return refused;
    }
    queue_.push_back(pending);
    ++foreignJobsInFlight_;
    workCv_.notify_all();
    doneCv_.wait(lock, [&pending] { return pending->done; });
    return pending->result;
}

LinkJobResult TarnLink::Execute(const LinkJob& job) {
    LinkJobResult r;
    r.ok = job(io_);
    r.result = io_.LastResult();
    r.status = io_.Status();
    r.request = io_.Request();
    r.reply = io_.Reply();
    return r;
}

void TarnLink::ServePending() {
    // Only the jobs waiting now: threads that keep submitting cannot starve the polling.
    size_t waiting;
    {
        std::lock_guard lock(mutex_);
        waiting = queue_.size();
    }
    for (; waiting > 0; --waiting) {
        std::shared_ptr<PendingJob> next;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                return;
            next = queue_.front();
            queue_.pop_front();
        }
        RunPending(*next);
    }
}

void TarnLink::RunPending(PendingJob& pending) {
    if (pending.run) {
        pending.run();
        std::lock_guard lock(mutex_);
        --foreignJobsInFlight_;
        return;
    }
    LinkJobResult result = Execute(pending.job);
    {
        std::lock_guard lock(mutex_);
        pending.result = result;
        pending.done = true;
        --foreignJobsInFlight_;
    }
    doneCv_.notify_all();
}

bool TarnLink::ServeJobsUntil(const std::function<bool()>& done) {
    const auto slice = std::chrono::milliseconds(linktiming::kServeWaitSliceMs);
    for (;;) {
        ServePending();
        if (done())
            return true;
        std::unique_lock lock(mutex_);
        if (quit_ || stopPollingRequested_)
            return false;
        // Woken by a new job or Wake(); the slice catches a done() that turned true silently.
        workCv_.wait_for(lock, slice);
    }
}

void TarnLink::Wake() {
    workCv_.notify_all();
}

void TarnLink::StartPolling(LinkPoller& poller) {
    {
        std::lock_guard lock(mutex_);
        poller_ = &poller;
        stopPollingRequested_ = false;
    }
    workCv_.notify_all();
}

void TarnLink::StopPolling() {
    std::unique_lock lock(mutex_);
    poller_ = nullptr;
    stopPollingRequested_ = true;
    workCv_.notify_all();
    if (OnLinkThread())
        return;  // the pass calling this ends when it returns
    doneCv_.wait(lock, [this] { return !passRunning_; });
}

bool TarnLink::IsPolling() const {
    std::lock_guard lock(mutex_);
    return poller_ != nullptr;
}

bool TarnLink::WaitForWork() {
    std::unique_lock lock(mutex_);
    workCv_.wait(lock, [this] { return quit_ || !queue_.empty() || poller_ != nullptr; });
    return !quit_;
}

void TarnLink::RunPollPass() {
    LinkPoller* poller;
    {
        std::lock_guard lock(mutex_);
        poller = poller_;
        if (poller == nullptr)
            return;
        passRunning_ = true;
    }
    poller->PollPass();
    {
        std::lock_guard lock(mutex_);
        passRunning_ = false;
    }
    doneCv_.notify_all();
}

void TarnLink::NoteThreadEnded() {
    // Notified under the lock: the destructor may go on (and destroy the condition variable) as
    // soon as it can take the lock again.
    std::lock_guard lock(mutex_);
    threadEnded_ = true;
    doneCv_.notify_all();
}

void TarnLink::FailRemainingJobs() {
    std::deque<std::shared_ptr<PendingJob>> left;
    {
        std::lock_guard lock(mutex_);
        for (auto& pending : queue_) {
            pending->result = ClosedLinkResult();
            pending->done = true;
        }
        left.swap(queue_);
        foreignJobsInFlight_ = 0;
    }
    doneCv_.notify_all();
    for (auto& pending : left) {
        if (pending->abandon)
            pending->abandon();
    }
}
