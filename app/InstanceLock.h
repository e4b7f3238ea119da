// The single-instance lock: cw20.key in the program folder, held with an exclusive flock for as
// long as the program runs. A second program started on the same folder cannot take it and ends.
#pragma once

#include <QString>

class InstanceLock {
public:
    // Opens (creating it when missing) and tries to lock the file at once, without waiting.
    explicit InstanceLock(const QString& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True while this object holds the lock.
    bool IsHeld() const { return fd_ >= 0; }
    // True when another process holds the lock (as opposed to a file that could not be opened
    // at all, which says nothing about other instances).
    bool IsHeldElsewhere() const { return heldElsewhere_; }
    // Gives the lock up (closing the file); later calls do nothing.
    void Release();

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};
