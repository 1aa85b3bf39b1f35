#include "support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace velmor::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() : previous_(fs::current_path()) {
    std::random_device seed;
    std::mt19937_64 gen(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("velmor-test-" + std::to_string(gen()));
        if (fs::create_directory(candidate)) {
            dir_ = candidate;
            fs::current_path(dir_);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(dir_, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << text;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

::testing::AssertionResult sameText(const std::string& expected, const std::string& actual) {
    std::vector<std::string> want = splitLines(expected);
    std::vector<std::string> got = splitLines(actual);
    std::size_t n = std::min(want.size(), got.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (want[i] != got[i]) {
            return ::testing::AssertionFailure() << "first difference at line " << (i + 1) << "\n  expected: ["
                                                 << want[i] << "]\n  actual:   [" << got[i] << "]";
        }
    }
    if (want.size() != got.size()) {
        return ::testing::AssertionFailure()
               << "line counts differ: expected " << want.size() << ", actual " << got.size() << "; first extra line: ["
               << (want.size() > got.size() ? want[n] : got[n]) << "]";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace velmor::test
