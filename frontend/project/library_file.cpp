#include "project/library_file.h"

#include <elf.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <type_traits>
#include <vector>

namespace velmor::project {

namespace {

// The ELF description of the machine this program runs on.
#if defined(__x86_64__)
constexpr unsigned kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr unsigned kMachine = EM_386;
#else
constexpr unsigned kMachine = EM_NONE;  // a processor not named here: the machine is not compared
#endif
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kData = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
using Header = std::conditional_t<sizeof(void*) == 8, Elf64_Ehdr, Elf32_Ehdr>;
using ProgramHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Phdr, Elf32_Phdr>;

// Whether [offset, offset + length) lies within a file of `size` bytes, without overflow.
bool within(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

}  // namespace

std::string LibraryFileFault(const std::string& Path) {
    std::error_code error;
    if (!std::filesystem::exists(Path, error)) return {};
    errno = 0;
    std::ifstream in(Path, std::ios::binary);
    if (!in) return Path + " cannot be read: " + std::strerror(errno);
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    if (end < 0) return Path + " cannot be read.";
    const auto size = static_cast<std::uint64_t>(end);
    in.seekg(0);

    Header header{};
    const std::string notLibrary = Path + " is not a shared library for this machine.";
    if (size < sizeof header || !in.read(reinterpret_cast<char*>(&header), sizeof header)) return notLibrary;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != kClass ||
        header.e_ident[EI_DATA] != kData || (kMachine != EM_NONE && header.e_machine != kMachine) ||
        header.e_type != ET_DYN || header.e_phentsize != sizeof(ProgramHeader) || header.e_phnum == 0)
        return notLibrary;

    const std::string cutShort = Path + " is cut short: it ends at byte " + std::to_string(size);
    const std::uint64_t tableLength = std::uint64_t{header.e_phnum} * sizeof(ProgramHeader);
    if (!within(header.e_phoff, tableLength, size)) return cutShort + ", before its program headers end.";
    std::vector<ProgramHeader> segments(header.e_phnum);
    in.seekg(static_cast<std::streamoff>(header.e_phoff));
    if (!in.read(reinterpret_cast<char*>(segments.data()), static_cast<std::streamsize>(tableLength)))
        return Path + " cannot be read.";
    for (const ProgramHeader& segment : segments) {
        if (segment.p_type == PT_LOAD && !within(segment.p_offset, segment.p_filesz, size))
            return cutShort + ", but a segment reaches to byte " + std::to_string(segment.p_offset + segment.p_filesz) +
                   ".";
    }
    return {};
}

}  // namespace velmor::project
