#include "control/HostBridge.h"

#include <QThread>
#include <atomic>
#include <memory>

#include "control/EngineHost.h"
#include "link/TarnLink.h"

HostBridge::HostBridge(QObject& context, EngineHost& host, TarnLink& link)
    : context_(context), host_(host), link_(link) {}

bool HostBridge::OnHostThread() const {
    return QThread::currentThread() == context_.thread();
}

void HostBridge::Post(std::function<void(EngineHost&)> call) {
    if (OnHostThread()) {
        call(host_);
        return;
    }
    EngineHost* host = &host_;
    QMetaObject::invokeMethod(
        &context_, [host, call = std::move(call)] { call(*host); }, Qt::QueuedConnection);
}

bool HostBridge::Ask(std::function<bool(EngineHost&)> question, bool abandoned) {
    if (OnHostThread())
        return question(host_);
    // Shared with the queued call, which may still run after a wait that was given up.
    struct Answer {
        std::atomic<bool> given{false};
        std::atomic<bool> value{false};
    };
    auto answer = std::make_shared<Answer>();
    EngineHost* host = &host_;
    TarnLink* link = &link_;
    QMetaObject::invokeMethod(
        &context_,
        [host, link, answer, question = std::move(question)] {
            answer->value = question(*host);
            answer->given = true;
            link->Wake();
        },
        Qt::QueuedConnection);
    if (!link_.ServeJobsUntil([&answer] { return answer->given.load(); }))
        return abandoned;
    return answer->value;
}
