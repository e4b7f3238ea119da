// Auto-repeat of the scene and trim keys: a press starts a 100 ms timer that repeats the key's
// action while it is held; a short press acts once on its click instead, and a held press adds
// no extra step when it is let go.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QAbstractButton;

class KeyAutoRepeat : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 100;

    explicit KeyAutoRepeat(QObject* parent);

    // The key acts through action: on its click, or on every timer tick while held.
    void Attach(QAbstractButton* key, int tag, std::function<void()> action);
    // Stops a running repeat (the timer off, the repeating flag cleared).
    void Stop();
    // Forgets the key whose repeat ran (the tag), as at every show of the window.
    void ResetTag() { tag_ = 0; }

    int tag() const { return tag_; }
    bool repeating() const { return repeating_; }
    QTimer& timer() { return tmBtn_; }

private:
    QTimer tmBtn_;
    int tag_ = 0;
    bool repeating_ = false;
    std::function<void()> tagAction_;
};
