#include <cstdint>

#include "run_driver.h"

// The library's one entry, exported under both names the program may look up.
extern "C" __attribute__((visibility("default"))) int32_t IVELMOR(int32_t interfaceNumber) {
    return velmor::engine::RunEntry(interfaceNumber);
}

extern "C" __attribute__((visibility("default"))) int32_t _IVELMOR(int32_t interfaceNumber) {
    return velmor::engine::RunEntry(interfaceNumber);
}
