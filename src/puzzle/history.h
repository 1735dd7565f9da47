// SPDX-License-Identifier: MIT
// A move history: a stack of undo codes that grows as needed and reads 0 where nothing is stored.
#pragma once

#include <vector>

namespace pelorix {

// Entries are indexed from 1; index 0 and every index above the highest entry written read 0, so
// a stack whose top index is 0 never matches a direction code. Grows without limit, so no
// scramble or player ever loses a move.
class History {
public:
    int operator[](int index) const {
        return index > 0 && index < static_cast<int>(entries_.size()) ? entries_[static_cast<std::size_t>(index)] : 0;
    }
    // Stores `code` at `index` (1 or more), growing the table as needed.
    void set(int index, int code) {
        if (index <= 0) return;
        if (index >= static_cast<int>(entries_.size())) {
            if (code == 0) return;  // unwritten entries already read 0
            entries_.resize(static_cast<std::size_t>(index) + 1, 0);
        }
        entries_[static_cast<std::size_t>(index)] = code;
    }
    // Forgets every entry and gives back the memory of a very long history.
    void clear() {
        entries_.clear();
        entries_.shrink_to_fit();
    }

private:
    std::vector<int> entries_;
};

}  // namespace pelorix
