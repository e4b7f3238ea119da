#include "link/ReplyTarget.h"

#include <QObject>

std::shared_ptr<ReplyTarget> ReplyTarget::For(QObject* context) {
    auto target = std::make_shared<ReplyTarget>();
    target->context_ = context;
    // A direct connection: the context's destructor clears the pointer under our lock, so the
    // link thread never posts to an object that is being destroyed. The weak pointer keeps the
    // connection from holding the target alive.
    std::weak_ptr<ReplyTarget> weak = target;
    target->watch_ = QObject::connect(context, &QObject::destroyed, [weak] {
        if (auto alive = weak.lock())
            alive->ContextDestroyed();
    });
    return target;
}

void ReplyTarget::ContextDestroyed() {
    std::lock_guard lock(mutex_);
    context_ = nullptr;
}

void ReplyTarget::Deliver(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    if (context_ == nullptr)
        return;
    // The call waits here under our own lock and the posted event only fetches it: the
    // hand-over of the answer is ordered by a lock a thread checker can see. Once posted, the
    // event is the context's own: Qt drops it with the context.
    call_ = std::move(call);
    QMetaObject::invokeMethod(
        context_, [self = shared_from_this()] { self->TakeCall()(); }, Qt::QueuedConnection);
    QObject::disconnect(watch_);
    context_ = nullptr;
}

std::function<void()> ReplyTarget::TakeCall() {
    std::lock_guard lock(mutex_);
    return std::move(call_);
}
