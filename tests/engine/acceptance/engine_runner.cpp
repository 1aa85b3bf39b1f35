#include "acceptance/engine_runner.h"

#include <dlfcn.h>

#include <cstdint>
#include <filesystem>

#include "support/test_support.h"

namespace velmor::test {

namespace {

std::string withExtension(const std::string& name, const std::string& extension) {
    return std::filesystem::path(name).replace_extension(extension).string();
}

}  // namespace

int runThroughLibrary(const std::string& projectPath, const std::string& name) {
    writeFile(name, readFile(projectPath));
    writeFile("names.dat", name + "\r\n" + withExtension(name, ".vm4o") + "\r\n" + withExtension(name, ".vm4p") +
                               "\r\n" + withExtension(name, ".vm4r") + "\r\n");
    void* handle = dlopen(VELMOR_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return -1;
    using Entry = int32_t (*)(int32_t);
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "_IVELMOR"));
    int result = entry ? entry(14) : -1;
    dlclose(handle);
    std::filesystem::remove("names.dat");
    return result;
}

std::string reportText(const std::string& name) {
    return readFile(withExtension(name, ".vm4o"));
}

std::string plotPath(const std::string& name) {
    return withExtension(name, ".vm4p");
}

}  // namespace velmor::test
