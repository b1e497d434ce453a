#include "host/load/windows_text.h"

#include <cstdint>

namespace orv::host {

namespace {

// Code points of 0x80 to 0x9F; 0 where the code page has no character.
constexpr std::uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char32_t windows_1252_code_point(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char32_t cp = kHigh[byte - 0x80];
  return cp != 0 ? cp : kReplacementCharacter;
}

char* put_utf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

void windows_1252_to_utf8(const char* text, char* out, std::size_t size) {
  if (size == 0) return;
  char* o = out;
  char* const end = out + size - 1;
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    char buffer[kUtf8CharMax];
    const char* e = put_utf8(buffer, windows_1252_code_point(*p));
    if (e - buffer > end - o) break;
    for (const char* b = buffer; b != e; ++b) *o++ = *b;
  }
  *o = '\0';
}

std::string utf8_from_windows_1252(std::string_view text) {
  std::string out(kUtf8CharMax * text.size(), '\0');
  char* o = out.data();
  for (const char c : text) o = put_utf8(o, windows_1252_code_point(static_cast<unsigned char>(c)));
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

}  // namespace orv::host
