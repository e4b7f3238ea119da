// Carries the engine's calls to its host onto the host's thread. The engine's tick runs on the
// link thread, which must never touch a window: what it shows is queued to the host's thread,
// and where it needs an answer (a modal box) it waits for it while still serving the link's
// jobs, so a command the GUI sends meanwhile cannot deadlock against it.
#pragma once

#include <QObject>
#include <functional>

class EngineHost;
class TarnLink;

class HostBridge {
public:
    // context lives on the host's thread; queued calls run there.
    HostBridge(QObject& context, EngineHost& host, TarnLink& link);

    // Runs call on the host's thread: at once when already there, otherwise queued in order
    // behind earlier calls, without waiting for it.
    void Post(std::function<void(EngineHost&)> call);
    // Runs question on the host's thread and returns its answer. From another thread it waits,
    // serving link jobs, and answers `abandoned` when the link stops serving (polling switched
    // off or the link closing) before the host has answered.
    bool Ask(std::function<bool(EngineHost&)> question, bool abandoned);

private:
    bool OnHostThread() const;

    QObject& context_;
    EngineHost& host_;
    TarnLink& link_;
};
