#include "engine_state.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "runtime/work_storage.h"

static_assert(std::is_trivially_copyable_v<velmor::engine::EngineState>, "the blocks are cleared byte by byte");

namespace velmor::engine {

namespace {
// Zero storage: nothing runs when the library is loaded, and no page is written before a run writes it.
EngineState g_ownStorage;  // where the work window cannot hold the blocks
bool g_handedOut = false;  // the blocks may hold what a caller wrote

EngineState& blocks() {
    return rt::WorkObject(rt::WorkPiece::EngineBlocks, g_ownStorage);
}

// A byte range of a block that is cleared only in part: the first `used` bytes of `size`.
struct PartRange {
    const unsigned char* begin;
    std::size_t size;
    std::size_t used;
};

template <class Rows>
PartRange rowsUpTo(const Rows& rows, int32_t rowsWritten) {
    const std::size_t capacity = rows.size();
    const std::size_t last = static_cast<std::size_t>(std::clamp<int32_t>(rowsWritten, 0, int32_t(capacity - 1)));
    return {reinterpret_cast<const unsigned char*>(rows.data()), sizeof rows, (last + 1) * sizeof rows[0]};
}

}  // namespace

EngineState& engineState() {
    g_handedOut = true;
    return blocks();
}

EngineState& FreshEngineState() {
    EngineState& st = blocks();
    if (g_handedOut) ClearUsedBlocks(st);
    g_handedOut = true;
    return st;
}

void ClearUsedBlocks(EngineState& st) {
    // The large stores' row arrays, in address order; every byte outside them is cleared.
    const PartRange parts[] = {
        rowsUpTo(st.userCurves.node, st.userCurves.rowsWritten),
        rowsUpTo(st.userCurves.pointCount, st.userCurves.rowsWritten),
        rowsUpTo(st.userCurves.p, st.userCurves.rowsWritten),
        rowsUpTo(st.userCurves.y, st.userCurves.rowsWritten),
        rowsUpTo(st.curves.from, st.curves.rowsWritten),
        rowsUpTo(st.curves.to, st.curves.rowsWritten),
        rowsUpTo(st.curves.continuation, st.curves.rowsWritten),
        rowsUpTo(st.curves.pointCount, st.curves.rowsWritten),
        rowsUpTo(st.curves.y, st.curves.rowsWritten),
        rowsUpTo(st.curves.p, st.curves.rowsWritten),
        rowsUpTo(st.profile.depth, st.profile.rowsWritten),
        rowsUpTo(st.profile.total, st.profile.rowsWritten),
        rowsUpTo(st.profile.soil, st.profile.rowsWritten),
        rowsUpTo(st.profile.surcharge, st.profile.rowsWritten),
        rowsUpTo(st.earth.rowDepth, st.earth.rowsWritten),
        rowsUpTo(st.earth.rowTotal, st.earth.rowsWritten),
        rowsUpTo(st.earth.rowSoil, st.earth.rowsWritten),
        rowsUpTo(st.earth.rowSurcharge, st.earth.rowsWritten),
    };
    unsigned char* const base = reinterpret_cast<unsigned char*>(&st);
    const unsigned char* end = base;
    for (const PartRange& part : parts) {
        if (part.begin < end) {
            std::memset(base, 0, sizeof st);  // not in address order: clear everything instead
            return;
        }
        end = part.begin + part.size;
    }
    unsigned char* next = base;
    for (const PartRange& part : parts) {
        unsigned char* begin = base + (part.begin - base);
        std::memset(next, 0, static_cast<std::size_t>(begin - next));
        std::memset(begin, 0, part.used);
        next = begin + part.size;
    }
    std::memset(next, 0, static_cast<std::size_t>(base + sizeof st - next));
}

void DeriveStepQuantities(EngineState& st) {
    ProblemControl& c = st.control;
    c.twoH = 2.0 * c.h;
    c.hSquared = c.h * c.h;
    c.hCubed = c.h * c.h * c.h;

    StationGeometry& g = st.geometry;
    g.h = c.h;
    g.ni = c.ni;
    g.freeHeight = c.freeHeight;
    g.unitCode = c.unitCode;

    RunControl& run = st.run;
    run.h = c.h;
    run.wallLength = c.ni * c.h;
}

}  // namespace velmor::engine
