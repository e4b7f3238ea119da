// What the recorder took in of each scene of the running or the last Auto Rec, in the order
// they were recorded: written on the link thread, read from any thread.
#pragma once

#include <mutex>
#include <vector>

#include "engine/SceneCheck.h"

class SceneCheckLog {
public:
    void Clear() {
        std::lock_guard lock(mutex_);
        checks_.clear();
    }
    void Add(const SceneCheck& check) {
        std::lock_guard lock(mutex_);
        checks_.push_back(check);
    }
    std::vector<SceneCheck> All() const {
        std::lock_guard lock(mutex_);
        return checks_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<SceneCheck> checks_;
};
