#include "project/recent_files.h"

#include <algorithm>

namespace velmor::project {

bool TRecentFiles::Update(const std::string& FileName) {
    if (entries_[0] == FileName) return false;
    // The first match below the head moves up; without one the oldest entry drops out.
    auto match = std::find(entries_.begin() + 1, entries_.end(), FileName);
    if (match == entries_.end()) match = entries_.end() - 1;
    std::move_backward(entries_.begin(), match, match + 1);
    entries_[0] = FileName;
    return true;
}

int TRecentFiles::Count() const {
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(), [](const std::string& e) { return !e.empty(); }));
}

}  // namespace velmor::project
