#include "project/windows_1252.h"

#include <array>

namespace velmor::project {

namespace {

// The characters of the bytes 0x80 to 0x9F; the unassigned ones keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

std::optional<unsigned char> byteOf(char32_t Character) {
    if (Character < 0x80 || (Character >= 0xA0 && Character <= 0xFF)) return static_cast<unsigned char>(Character);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == Character) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

std::u32string DecodeWindows1252(const std::string& Bytes) {
    std::u32string text;
    text.reserve(Bytes.size());
    for (const char c : Bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back(byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte});
    }
    return text;
}

std::optional<std::string> EncodeWindows1252(const std::u32string& Text) {
    std::string bytes;
    bytes.reserve(Text.size());
    for (const char32_t c : Text) {
        const std::optional<unsigned char> byte = byteOf(c);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

bool HasWindows1252Byte(char32_t Character) {
    return byteOf(Character).has_value();
}

}  // namespace velmor::project
