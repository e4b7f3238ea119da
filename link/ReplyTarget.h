// Where the answer to a posted link job goes: a queued call on the thread of the object that
// asked (the context), dropped once that object is destroyed. The link thread holds the target
// while the job runs; the context may be destroyed on its own thread at any moment meanwhile.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

class ReplyTarget;

// Lives on the context's thread as its child, so it goes with the context and so do the calls
// queued to it. The link thread reaches it by slot name: the queued event is then made inside
// Qt, and the answer itself crosses under the target's lock, where a thread checker sees it.
class ReplyReceiver : public QObject {
    Q_OBJECT

public:
    ReplyReceiver(QObject* context, std::shared_ptr<ReplyTarget> target);

private slots:
    void Take();

private:
    std::shared_ptr<ReplyTarget> target_;
};

class ReplyTarget {
public:
    // Caller's thread: watches context until the answer is delivered.
    static std::shared_ptr<ReplyTarget> For(QObject* context);

    // Any thread, at most once: queues call to context's thread. Nothing is queued when the
    // context is gone; a queued call whose context is destroyed before it runs never runs.
    void Deliver(std::function<void()> call);
    // The context's thread: runs the delivered call.
    void RunCall();

private:
    void ContextDestroyed();

    std::mutex mutex_;
    ReplyReceiver* receiver_ = nullptr;
    std::function<void()> call_;
};
