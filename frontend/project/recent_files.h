#pragma once

#include <array>
#include <string>

namespace velmor::project {

// The ten most recently opened or saved project files, most recent first; empty entries are free slots.
class TRecentFiles {
  public:
    static constexpr int kCapacity = 10;

    // Moves `FileName` to the head (names compared exactly, with case). False when it already was the
    // head, so nothing changed and nothing needs storing.
    bool Update(const std::string& FileName);
    void Clear() { entries_.fill(std::string()); }

    const std::string& Entry(int Index) const { return entries_.at(static_cast<std::size_t>(Index)); }
    void SetEntry(int Index, const std::string& Value) { entries_.at(static_cast<std::size_t>(Index)) = Value; }
    // Number of non-empty entries.
    int Count() const;

  private:
    std::array<std::string, kCapacity> entries_;
};

}  // namespace velmor::project
