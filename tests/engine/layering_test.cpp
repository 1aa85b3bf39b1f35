#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

// The engine must build without Qt and without the program: no engine file may include either.
TEST(Layering, EngineIncludesNoQtAndNoProgramHeader) {
    namespace fs = std::filesystem;
    const std::regex forbidden(R"(^\s*#\s*include\s*[<"](Q|components/|frontend/|platform/))");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(VELMOR_SOURCE_DIR) / "engine")) {
        if (!entry.is_regular_file()) continue;
        std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            EXPECT_FALSE(std::regex_search(line, forbidden)) << entry.path() << ":" << number << ": " << line;
        }
    }
    EXPECT_GT(files, 0);
}

}  // namespace
