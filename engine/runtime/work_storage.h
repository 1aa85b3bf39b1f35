#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

namespace velmor::rt {

// The library's large working blocks, each kept in its own piece of the work window.
enum class WorkPiece : int { EngineBlocks, FormatCache };
inline constexpr int kWorkPieces = 2;

// Zero storage for a large working block, in one 2 MiB window that is aligned so that the system may
// back it with a single large page: a freshly loaded library then takes one page fault for all the blocks
// a run writes instead of one for each 4 KiB page. The window is asked for at the first request and
// given back when the library is unloaded; a piece is the same at every request until then (`fresh` is
// set at the first). Null when there is no window or no room left in it.
void* WorkBlock(WorkPiece which, std::size_t size, bool& fresh);

// The plain-data block `which` in the work window, zero when first handed out; `own` (zero static
// storage of the caller's) where the window cannot hold it.
template <class T>
T& WorkObject(WorkPiece which, T& own) {
    static_assert(std::is_trivial_v<T> && alignof(T) <= 64, "a block of plain data");
    bool fresh = false;
    void* piece = WorkBlock(which, sizeof(T), fresh);
    if (!piece) return own;
    return fresh ? *new (piece) T : *std::launder(static_cast<T*>(piece));  // default-initialised: stays zero
}

}  // namespace velmor::rt
