#pragma once

#include <string>
#include <vector>

namespace velmor::components {

// The words of one line of a text file, in order, and the line itself as it was read.
class TWordContainer {
  public:
    // Each word is non-empty and holds no blank and no tab.
    std::vector<std::string> Strings;
    // The raw line without its line end, untrimmed.
    std::string Line;

    int Count() const { return static_cast<int>(Strings.size()); }
};

}  // namespace velmor::components
