#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "input_test_harness.h"
#include "runtime/edit_format.h"
#include "runtime/work_storage.h"

namespace velmor::engine {
namespace {

// A problem that fills every large store: 407 increments, ten soil layers generating curves, 30 user curves
// and the trapezoidal earth pressure of a tieback; `cut` drops the input's last lines, so that the run ends
// with a curve read half-way.
std::string largeProblem(int stages, std::size_t cut = 0) {
    std::ostringstream f;
    for (int stage = 1; stage <= stages; ++stage) {
        const double freeHeight = 48.0 * stage;
        f << "Large\n1 0 1 0 3 2 30 " << stages << " 0\n407 6 100 0.001 " << freeHeight << "\n0 407 1 5.34E9\n0\n";
        f << "1\n6 6 1 50000 0\n" << freeHeight << " 12 12 600 600 1 1 0\n0 0 0 0 0 0\n0\n10\n";
        for (int layer = 1; layer <= 10; ++layer) {
            f << (layer % 2 ? "4 " : "2 ") << layer * 260.0 << "\n";
            const char* values = layer % 2 ? "0.0666 0 32 0 90 0\n" : "0.0694 13.9 0 0.005 500 0\n";
            f << values << values;
        }
        for (int curve = 1; curve <= 30; ++curve) {
            const double pu = 40.0 * curve;
            f << 10 * curve << " 5 1 1\n-1 " << pu << "\n-0.2 " << 0.6 * pu << "\n0 0\n0.2 " << -0.6 * pu << "\n1 "
              << -pu << "\n";
        }
        f << stage << "\n";
    }
    std::string text = f.str();
    for (std::size_t i = 0; i < cut; ++i) text.erase(text.find_last_of('\n', text.size() - 2) + 1);
    return text;
}

bool allZero(const EngineState& st) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&st);
    for (std::size_t i = 0; i < sizeof st; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

// The clearing before a run stops at the rows the earlier runs wrote: it must still leave every byte of
// the blocks as the library's zero storage has it, whatever the earlier run filled and however it ended.
TEST(StateReset, ClearingLeavesTheBlocksAsAFreshLoadHasThem) {
    const struct {
        const char* what;
        std::string input;
        bool generated;  // the run got as far as the generated curves
    } cases[] = {
        {"two stages filling every store", largeProblem(2), true},
        {"ended inside a user curve", largeProblem(1, 4), false},
    };
    for (const auto& c : cases) {
        const testing::WholeRun run = testing::RunWhole(c.input);
        EngineState& st = engineState();
        ASSERT_EQ(st.userCurves.rowsWritten, 30) << c.what;
        if (c.generated) {
            ASSERT_GT(st.curves.rowsWritten, 30) << c.what;
            ASSERT_GT(st.earth.rowsWritten, 50) << c.what;
            ASSERT_GT(st.profile.rowsWritten, 50) << c.what;
        }
        ClearUsedBlocks(st);
        EXPECT_TRUE(allZero(st)) << c.what;
    }
}

// The blocks and the format cache share the library's work window: each keeps its piece for as long as
// the library is loaded, and neither reaches into the other.
TEST(StateReset, BlocksAndFormatCacheKeepTheirOwnPiecesOfTheWorkWindow) {
    auto* blocks = reinterpret_cast<unsigned char*>(&engineState());
    std::string out;
    const rt::FormatItem item(1.5);
    rt::applyFormat("(F6.2)", &item, 1, out);  // the cache is taken at the first format used
    ASSERT_EQ(out, "  1.50\n");
    bool fresh = true;
    EXPECT_EQ(rt::WorkBlock(rt::WorkPiece::EngineBlocks, sizeof(EngineState), fresh), blocks);
    EXPECT_FALSE(fresh);
    auto* cache = static_cast<unsigned char*>(rt::WorkBlock(rt::WorkPiece::FormatCache, 1, fresh));
    ASSERT_NE(cache, nullptr);
    EXPECT_FALSE(fresh);
    EXPECT_TRUE(cache >= blocks + sizeof(EngineState) || cache < blocks);
    const auto window = [](const unsigned char* p) { return reinterpret_cast<std::uintptr_t>(p) >> 21; };
    EXPECT_EQ(window(blocks), window(blocks + sizeof(EngineState) - 1));
    EXPECT_EQ(window(cache), window(blocks));
}

}  // namespace
}  // namespace velmor::engine
