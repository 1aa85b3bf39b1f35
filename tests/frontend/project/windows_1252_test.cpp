#include "project/windows_1252.h"

#include <gtest/gtest.h>

namespace velmor::project {
namespace {

TEST(Windows1252, EveryByteComesBackAndOnlyTheCodePageEncodes) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    const std::u32string text = DecodeWindows1252(bytes);
    EXPECT_EQ(text.substr(0x80, 1), U"\u20AC");
    EXPECT_EQ(text.substr(0xE9, 1), U"\u00E9");
    EXPECT_EQ(EncodeWindows1252(text), bytes);
    EXPECT_EQ(EncodeWindows1252(U"30\u00B0 \u2013 \u0178"), std::string("30\xB0 \x96 \x9F"));
    EXPECT_FALSE(EncodeWindows1252(U"\u03A9").has_value());
    EXPECT_FALSE(HasWindows1252Byte(U'\u0100'));
}

}  // namespace
}  // namespace velmor::project
