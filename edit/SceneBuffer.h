// The clip buffer (Copy, Cut, Paste) and the drag buffer (drag and drop, Add): an ordered list of
// at most 99 row copies. Appending beyond the capacity is refused, so a copy of a full list takes
// its first 99 selected rows.
#pragma once

#include <vector>

#include "edit/Scene.h"

class SceneBuffer {
public:
    static constexpr int kCapacity = 99;

    void Clear() { m_items.clear(); }

    // False, with nothing added, once the buffer holds kCapacity items.
    bool Append(const SceneCopy& item) {
        if (IsFull())
            return false;
        m_items.push_back(item);
        return true;
    }

    bool IsFull() const { return Count() >= kCapacity; }
    bool IsEmpty() const { return m_items.empty(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    const SceneCopy& Item(int k) const { return m_items[static_cast<size_t>(k)]; }

private:
    std::vector<SceneCopy> m_items;
};
