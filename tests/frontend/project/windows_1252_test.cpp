#include "project/windows_1252.h"

#include <gtest/gtest.h>

namespace velmor::project {
namespace {

TEST(Windows1252, EveryByteComesBackAsItWas) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    const std::u32string text = DecodeWindows1252(bytes);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(EncodeWindows1252(text), bytes);
}

TEST(Windows1252, CharactersOfTheCodePageAndOthers) {
    struct Case {
        char32_t character;
        int byte;  // -1: none
    };
    const Case cases[] = {
        {U'A', 0x41},  {U'\u00E9', 0xE9}, {U'\u00B0', 0xB0}, {U'\u20AC', 0x80}, {U'\u2013', 0x96},
        {U'\u0178', 0x9F}, {U'\u0081', 0x81}, {U'\u03A9', -1}, {U'\u0100', -1}, {U'\U0001F600', -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasWindows1252Byte(c.character), c.byte >= 0) << std::hex << static_cast<unsigned>(c.character);
        const std::optional<std::string> bytes = EncodeWindows1252(std::u32string(1, c.character));
        if (c.byte < 0) {
            EXPECT_FALSE(bytes.has_value());
            continue;
        }
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(*bytes, std::string(1, static_cast<char>(c.byte)));
        EXPECT_EQ(DecodeWindows1252(*bytes), std::u32string(1, c.character));
    }
}

}  // namespace
}  // namespace velmor::project
