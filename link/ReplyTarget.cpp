#include "link/ReplyTarget.h"

ReplyReceiver::ReplyReceiver(QObject* context, std::shared_ptr<ReplyTarget> target)
    : QObject(context), target_(std::move(target)) {}

void ReplyReceiver::Take() {
    target_->RunCall();
    deleteLater();
}

std::shared_ptr<ReplyTarget> ReplyTarget::For(QObject* context) {
    auto target = std::make_shared<ReplyTarget>();
    target->receiver_ = new ReplyReceiver(context, target);
    // A direct connection: the context's destructor clears the pointer under our lock before its
    // children (the receiver) go, so the link thread never posts to an object being destroyed.
    // The weak pointer keeps the connection from holding the target alive.
    std::weak_ptr<ReplyTarget> weak = target;
    QObject::connect(
        context, &QObject::destroyed, target->receiver_,
        [weak] {
            if (auto alive = weak.lock())
                alive->ContextDestroyed();
        },
        Qt::DirectConnection);
    return target;
}

void ReplyTarget::ContextDestroyed() {
    std::lock_guard lock(mutex_);
    receiver_ = nullptr;
}

void ReplyTarget::Deliver(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    if (receiver_ == nullptr)
        return;
    call_ = std::move(call);
    QMetaObject::invokeMethod(receiver_, "Take", Qt::QueuedConnection);
    receiver_ = nullptr;
}

void ReplyTarget::RunCall() {
    std::function<void()> call;
    {
        std::lock_guard lock(mutex_);
        call = std::move(call_);
    }
    if (call)
        call();
}
