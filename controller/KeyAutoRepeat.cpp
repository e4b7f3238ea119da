#include "controller/KeyAutoRepeat.h"

#include <QAbstractButton>

KeyAutoRepeat::KeyAutoRepeat(QObject* parent) : QObject(parent) {
    tmBtn_.setObjectName(QStringLiteral("tmBtn"));
    tmBtn_.setInterval(kIntervalMs);
    connect(&tmBtn_, &QTimer::timeout, this, [this] {
        if (tagAction_)
            tagAction_();
        repeating_ = true;
    });
}

void KeyAutoRepeat::Attach(QAbstractButton* key, int tag, std::function<void()> action) {
    connect(key, &QAbstractButton::pressed, this, [this, tag, action] {
        tag_ = tag;
        tagAction_ = action;
        repeating_ = false;
        tmBtn_.start();
    });
    connect(key, &QAbstractButton::released, this, [this] {
        tmBtn_.stop();
        tag_ = 0;
    });
    // The click comes after the release; a press that already repeated has done its steps.
    connect(key, &QAbstractButton::clicked, this, [this, action] {
        if (!repeating_)
            action();
        repeating_ = false;
    });
}

void KeyAutoRepeat::Stop() {
    tmBtn_.stop();
    repeating_ = false;
}
