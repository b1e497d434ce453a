#include "host/record/trace_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "host/load/windows_text.h"

namespace orv::host {

namespace {

char* copy(char* to, std::string_view s) {
  std::memcpy(to, s.data(), s.size());
  return to + s.size();
}

// Writes the `count` significant `digits` (no trailing zeros) whose leading
// digit has the decimal `exponent` (-4 to 5) in fixed notation; returns the end.
char* put_fixed(char* o, const char* digits, int count, int exponent) {
  if (exponent < 0) {
    *o++ = '0';
    *o++ = '.';
    for (int k = -1; k > exponent; --k) *o++ = '0';
    return copy(o, std::string_view(digits, static_cast<std::size_t>(count)));
  }
  for (int k = 0; k <= exponent; ++k) *o++ = k < count ? digits[k] : '0';
  if (count > exponent + 1) {
    *o++ = '.';
    o = copy(o, std::string_view(digits + exponent + 1, static_cast<std::size_t>(count - exponent - 1)));
  }
  return o;
}

// The decimal digits of 0 to 99, two by two.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes the two digits of `n` (0 to 99).
void put_pair(char* to, std::uint32_t n) { std::memcpy(to, &kDigitPairs[2 * n], 2); }

}  // namespace

// Writes `v` as "%.6g" would (through std::to_chars, so alike on every
// target); returns the end.
//
// The shortest representation that reads back as `v` is cheap to find, and
// rounding it to six significant digits gives the correctly rounded result
// except when it ends exactly on a tie at the seventh digit (the double may
// then lie on either side of the tie) and for subnormals: there the exact
// conversion decides.
char* put_number(char* out, double v) {
  if (std::isnan(v)) return copy(out, "nan");
  if (std::isinf(v)) return copy(out, v > 0 ? "inf" : "-inf");
  if (v == 0.0) return copy(out, "0");
  // Between 1e-4 and 1e6 (fixed notation): the six digits from one exact
  // scaling by a power of ten, unless the scaled value lies too near a tie
  // for its own rounding error to be ruled out.
  const double magnitude = std::fabs(v);
  if (magnitude >= 1e-4 && magnitude < 1e6) {
    static constexpr double kPowers[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    static constexpr double kScales[] = {1e9, 1e8, 1e7, 1e6, 1e5, 1e4, 1e3, 1e2, 1e1, 1e0};
    int exponent = 0;  // of the leading digit, -4 to 5
    while (exponent < 5 && magnitude >= kPowers[exponent + 5]) ++exponent;
    while (exponent > -4 && magnitude < kPowers[exponent + 4]) --exponent;
    const double scaled = magnitude * kScales[exponent + 4];  // 1e5 <= scaled < 1e6 but next to a power
    const auto below = static_cast<std::int32_t>(scaled);     // floor: positive and small
    const double fraction = scaled - below;
    if (scaled >= 1e5 && scaled < 1e6 && std::fabs(fraction - 0.5) > 1e-6) {
      std::int32_t digits = below + (fraction > 0.5 ? 1 : 0);
      if (digits == 1000000) {
        digits = 100000;
        ++exponent;
      }
      if (exponent < 6) {
        char text[6];
        const auto six = static_cast<std::uint32_t>(digits);
        put_pair(text, six / 10000);
        put_pair(text + 2, six / 100 % 100);
        put_pair(text + 4, six % 100);
        int count = 6;
        while (count > 1 && text[count - 1] == '0') --count;
        char* o = out;
        if (v < 0) *o++ = '-';
        return put_fixed(o, text, count, exponent);
      }
    }
  }
  char shortest[kNumberChars];
  auto [end, ec] = std::to_chars(shortest, shortest + sizeof shortest, v, std::chars_format::scientific);
  if (ec != std::errc()) return copy(out, "?");
  // "-d.ddde-XX": sign, digits, exponent.
  const char* p = shortest;
  char* o = out;
  if (*p == '-') {
    *o++ = '-';
    ++p;
  }
  char digits[20];
  int count = 0;
  for (; p < end && *p != 'e'; ++p) {
    if (*p != '.' && count < 20) digits[count++] = *p;
  }
  int exponent = 0;
  if (p < end) {
    int e = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, e);
    exponent = e;
  }
  // Subnormals carry too few bits for the shortest form to show six digits.
  if ((count == 7 && digits[6] == '5') || std::fabs(v) < std::numeric_limits<double>::min()) {
    auto [exact, exact_ec] = std::to_chars(out, out + kNumberChars, v, std::chars_format::general, 6);
    return exact_ec == std::errc() ? exact : copy(out, "?");
  }
  if (count > 6) {
    const bool up = digits[6] >= '5';
    count = 6;
    if (up) {
      int i = 5;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits[0] = '1';
        for (int k = 1; k < 6; ++k) digits[k] = '0';
        ++exponent;
      }
    }
  }
  while (count > 1 && digits[count - 1] == '0') --count;
  if (exponent < -4 || exponent >= 6) {
    *o++ = digits[0];
    if (count > 1) {
      *o++ = '.';
      o = copy(o, std::string_view(digits + 1, static_cast<std::size_t>(count - 1)));
    }
    *o++ = 'e';
    *o++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) *o++ = static_cast<char>('0' + magnitude / 100);
    *o++ = static_cast<char>('0' + magnitude / 10 % 10);
    *o++ = static_cast<char>('0' + magnitude % 10);
    return o;
  }
  return put_fixed(o, digits, count, exponent);
}

// The most bytes put_escaped writes for one byte of text.

char* put_escaped(char* o, const char* text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    const char32_t cp = windows_1252_code_point(*p);
    if (*p == '"' || *p == '\\') {
      *o++ = '\\';
      *o++ = static_cast<char>(*p);
    } else if ((*p >= 0x20 && *p < 0x7F) || (*p >= 0x80 && cp != kReplacementCharacter)) {
      o = put_utf8(o, cp);
    } else {
      *o++ = '\\';
      *o++ = 'x';
      *o++ = kHex[*p >> 4];
      *o++ = kHex[*p & 15];
    }
  }
  return o;
}

std::string format_number(double v) {
  char buffer[kNumberChars];
  return std::string(buffer, put_number(buffer, v));
}

std::string escape_text(const char* text) {
  if (text == nullptr) return {};
  std::string out(kEscapeChars * std::strlen(text), '\0');
  out.resize(static_cast<std::size_t>(put_escaped(out.data(), text) - out.data()));
  return out;
}

}  // namespace orv::host
