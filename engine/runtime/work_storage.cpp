#include "runtime/work_storage.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace velmor::rt {

#if defined(__linux__) && defined(MADV_HUGEPAGE)

namespace {

constexpr std::size_t kWindow = std::size_t(2) << 20;  // one large page of the usual systems
constexpr std::size_t kPieceAlignment = 64;
// Twice the window, so that an aligned window lies inside it wherever the system puts it; only the pages
// written are ever backed by memory.
constexpr std::size_t kMapping = 2 * kWindow;
constexpr std::size_t kNotOpened = SIZE_MAX;

// Initialised, not zero: it shares the page of the library's other initialised data, which the loader
// writes anyway, so that a load that runs nothing touches no page for it.
struct Window {
    void* mapping;
    unsigned char* start;
    std::size_t used;  // kNotOpened before the first request
    void* pieces[kWorkPieces];
};
Window g_window = {nullptr, nullptr, kNotOpened, {}};

void openWindow() {
    g_window.used = 0;
    void* mapping = mmap(nullptr, kMapping, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return;
    g_window.mapping = mapping;
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(mapping);
    g_window.start = reinterpret_cast<unsigned char*>((at + kWindow - 1) & ~std::uintptr_t(kWindow - 1));
    // Before anything in it is written; where large pages are not offered the window gets small ones.
    madvise(g_window.start, kWindow, MADV_HUGEPAGE);
}

// Run by the loader when the library is unloaded.
__attribute__((destructor)) void closeWindow() {
    if (g_window.mapping) munmap(g_window.mapping, kMapping);
    g_window = {nullptr, nullptr, kNotOpened, {}};
}

}  // namespace

void* WorkBlock(WorkPiece which, std::size_t size, bool& fresh) {
    void*& piece = g_window.pieces[static_cast<int>(which)];
    fresh = false;
    if (piece) return piece;
    if (g_window.used == kNotOpened) openWindow();
    const std::size_t rounded = (size + kPieceAlignment - 1) & ~(kPieceAlignment - 1);
    if (!g_window.start || rounded > kWindow - g_window.used) return nullptr;
    piece = g_window.start + g_window.used;
    g_window.used += rounded;
    fresh = true;
    return piece;
}

#else

void* WorkBlock(WorkPiece, std::size_t, bool& fresh) {
    fresh = false;
    return nullptr;
}

#endif

}  // namespace velmor::rt
