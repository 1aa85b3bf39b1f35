#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// Counts the lines of the .h/.cpp files below `folder` (skipping any folder named in `skipped`) that match
// `forbidden`, reporting each.
int countForbiddenIncludes(const fs::path& folder, const std::regex& forbidden, const std::regex& skipped) {
    int found = 0;
    if (!fs::exists(folder)) return 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string path = entry.path().generic_string();
        const std::string ext = entry.path().extension().string();
        if ((ext != ".h" && ext != ".cpp") || std::regex_search(path, skipped)) continue;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (std::regex_search(line, forbidden)) {
                ADD_FAILURE() << path << ":" << number << ": " << line;
                ++found;
            }
        }
    }
    return found;
}

// The plain layers (component cores and the project without windows) include no Qt header, so they build
// and test without a window system; nothing outside the program's own folder includes from it.
TEST(Layering, PlainLayersIncludeNoQtAndNothingIncludesTheProgram) {
    const fs::path root(VELMOR_SOURCE_DIR);
    const std::regex qtOrProgram(R"(^\s*#\s*include\s*[<"](Q|frontend/|platform/))");
    const std::regex widgetsFolder("/widgets/");
    const std::regex nothing("$^");
    EXPECT_EQ(countForbiddenIncludes(root / "components", qtOrProgram, widgetsFolder), 0);
    EXPECT_EQ(countForbiddenIncludes(root / "frontend" / "project", qtOrProgram, nothing), 0);

    const std::regex program(R"(^\s*#\s*include\s*[<"]frontend/)");
    EXPECT_EQ(countForbiddenIncludes(root / "components", program, nothing), 0);
    EXPECT_EQ(countForbiddenIncludes(root / "platform", program, nothing), 0);
}

}  // namespace
