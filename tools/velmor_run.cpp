// Runs one project through the engine library exactly as the program does: writes names.dat in the
// current directory, loads Velmor2013_DLL from beside this executable, calls its entry with the interface
// number 14, unloads it and removes names.dat. The engine's scratch files land in the current directory.

#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The project path with the extension of its file-name part replaced (appended when it has none).
std::string withExtension(const std::string& path, const std::string& extension) {
    std::size_t nameStart = path.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) return path + extension;
    return path.substr(0, dot) + extension;
}

fs::path ownDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmor-run PROJECT.vm4d\n";
        return 2;
    }
    std::error_code ec;
    std::string input = fs::absolute(argv[1], ec).lexically_normal().string();
    if (ec || !fs::is_regular_file(input)) {
        std::cerr << "velmor-run: no project file " << argv[1] << "\n";
        return 2;
    }
    {
        std::ofstream names("names.dat", std::ios::binary | std::ios::trunc);
        names << input << "\r\n"
              << withExtension(input, ".vm4o") << "\r\n"
              << withExtension(input, ".vm4p") << "\r\n"
              << withExtension(input, ".vm4r") << "\r\n";
        if (!names.flush()) {
            std::cerr << "velmor-run: cannot write names.dat in the current directory\n";
            return 2;
        }
    }

    fs::path library = ownDirectory() / "Velmor2013_DLL.so";
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::cerr << "velmor-run: cannot load " << library.string() << ": " << dlerror() << "\n";
        return 2;
    }
    using Entry = int32_t (*)(int32_t);
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "_IVELMOR"));
    if (!entry) {
        std::cerr << "velmor-run: " << library.string() << " has no entry _IVELMOR\n";
        dlclose(handle);
        return 2;
    }
    int32_t result = entry(14);
    dlclose(handle);
    fs::remove("names.dat", ec);

    std::cout << "report: " << withExtension(input, ".vm4o") << "\n"
              << "return code: " << result << "\n";
    return result == 0 ? 0 : 1;
}
