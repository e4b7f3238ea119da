#include "engine/HostBridge.h"

#include <QThread>
#include <memory>

#include "engine/EngineHost.h"
#include "link/TarnLink.h"

HostBridge::HostBridge(EngineHost& host, TarnLink& link, QObject* parent)
    : QObject(parent), host_(host), link_(link) {}

bool HostBridge::OnHostThread() const {
    return QThread::currentThread() == thread();
}

void HostBridge::Post(std::function<void(EngineHost&)> call) {
    if (OnHostThread()) {
        call(host_);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
}

void HostBridge::Drain() {
    for (;;) {
        std::function<void(EngineHost&)> call;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty())
                return;
            call = std::move(calls_.front());
            calls_.pop_front();
        }
        call(host_);
    }
}

bool HostBridge::Ask(std::function<bool(EngineHost&)> question, bool abandoned) {
    if (OnHostThread())
        return question(host_);
    // Shared with the queued call, which may still run after a wait that was given up.
    struct Answer {
        std::mutex mutex;
        bool given = false;
        bool value = false;
    };
    auto answer = std::make_shared<Answer>();
    TarnLink* link = &link_;
    Post([link, answer, question = std::move(question)](EngineHost& host) {
        const bool value = question(host);
        {
            std::lock_guard lock(answer->mutex);
            answer->value = value;
            answer->given = true;
        }
        link->Wake();
    });
    const auto given = [&answer] {
        std::lock_guard lock(answer->mutex);
        return answer->given;
    };
    if (!link_.ServeJobsUntil(given))
        return abandoned;
    std::lock_guard lock(answer->mutex);
    return answer->value;
}
