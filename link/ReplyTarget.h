// Where the answer to a posted link job goes: a queued call on the thread of the object that
// asked (the context), dropped once that object is destroyed. The link thread holds the target
// while the job runs; the context may be destroyed on its own thread at any moment meanwhile.
#pragma once

#include <QMetaObject>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

class ReplyTarget : public std::enable_shared_from_this<ReplyTarget> {
public:
    // Caller's thread: watches context until the answer is delivered.
    static std::shared_ptr<ReplyTarget> For(QObject* context);

    // Any thread, at most once: queues call to context's thread. Nothing is queued when the
    // context is gone; a queued call whose context is destroyed before it runs never runs.
    void Deliver(std::function<void()> call);

private:
    void ContextDestroyed();
    std::function<void()> TakeCall();

    std::mutex mutex_;
    QObject* context_ = nullptr;
    QMetaObject::Connection watch_;
    std::function<void()> call_;
};
