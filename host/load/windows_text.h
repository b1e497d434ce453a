// The module's texts are single-byte Windows-1252 (the degree sign is 0xB0,
// the euro sign 0x80); everything the host and its tools write or draw is
// UTF-8. These are the one conversion between the two, used by every writer
// (trace, info, tooltips, pictures).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::host {

// The code point of Windows-1252 byte `byte`; U+FFFD (the replacement
// character) for the five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D).
char32_t windows_1252_code_point(unsigned char byte);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The most bytes put_utf8 writes for one Windows-1252 byte.
inline constexpr std::size_t kUtf8CharMax = 3;

// Writes the UTF-8 of `cp` (below U+10000) at `out`; returns the end.
char* put_utf8(char* out, char32_t cp);

// `text` as UTF-8, into `out` of `size` bytes with its terminator, cut at a
// character that does not fit. Allocates nothing.
void windows_1252_to_utf8(const char* text, char* out, std::size_t size);

// `text` as UTF-8.
std::string utf8_from_windows_1252(std::string_view text);

}  // namespace orv::host
