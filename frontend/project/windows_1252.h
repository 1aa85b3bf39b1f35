#pragma once

#include <optional>
#include <string>

namespace velmor::project {

// Free text of project and stage files (the title) is Windows-1252, one byte a character, as the files of
// Windows users are and as the engine reads it.

// The characters of the bytes. Every byte has its own character (the five bytes that the code page leaves
// unassigned stand for the control characters of the same number), so encoding the result gives back the
// same bytes.
std::u32string DecodeWindows1252(const std::string& Bytes);

// The bytes of the characters; nothing when one of them has no byte in the code page.
std::optional<std::string> EncodeWindows1252(const std::u32string& Text);

// Whether the character has a byte in the code page.
bool HasWindows1252Byte(char32_t Character);

}  // namespace velmor::project
