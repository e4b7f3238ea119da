// Carries the engine's calls to its host onto the host's thread. The engine's tick runs on the
// link thread, which must never touch a window: what it shows is queued to the host's thread,
// and where it needs an answer (a modal box) it waits for it while still serving the link's
// jobs, so a command the GUI sends meanwhile cannot deadlock against it.
//
// The calls wait in a queue of our own under our own lock, and the host's thread is only told
// to drain it: the hand-over of every call is then ordered by a lock a thread checker can see.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

class EngineHost;
class TarnLink;

class HostBridge : public QObject {
    Q_OBJECT

public:
    // Lives on the thread of parent, the host's thread; queued calls run there.
    HostBridge(EngineHost& host, TarnLink& link, QObject* parent);

    // Runs call on the host's thread: at once when already there, otherwise queued in order
    // behind earlier calls, without waiting for it.
    void Post(std::function<void(EngineHost&)> call);
    // Runs question on the host's thread and returns its answer. From another thread it waits,
    // serving link jobs, and answers `abandoned` when the link stops serving (polling switched
    // off or the link closing) before the host has answered.
    bool Ask(std::function<bool(EngineHost&)> question, bool abandoned);

private:
    Q_INVOKABLE void Drain();
    bool OnHostThread() const;

    EngineHost& host_;
    TarnLink& link_;
    std::mutex mutex_;
    std::deque<std::function<void(EngineHost&)>> calls_;
};
