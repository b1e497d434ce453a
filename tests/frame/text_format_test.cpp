#include "frame/text_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Both formatters on the same arguments, into buffers of `size` bytes.
struct Both {
  std::string ours, library;
  int ours_length = 0, library_length = 0;
};

Both format_both(std::size_t size, const char* format, ...) {
  std::vector<char> a(size + 1, '#'), b(size + 1, '#');
  std::va_list args;
  va_start(args, format);
  std::va_list copy;
  va_copy(copy, args);
  Both r;
  r.ours_length = orv::format_text(a.data(), size, format, args);
  r.library_length = std::vsnprintf(b.data(), size, format, copy);
  va_end(copy);
  va_end(args);
  EXPECT_EQ(a[size], '#') << "written past the buffer";
  r.ours.assign(a.data(), strnlen(a.data(), size));
  r.library.assign(b.data(), strnlen(b.data(), size));
  return r;
}

// Every fixed-point format the gauges write, and the flags and widths around
// them.
const char* const kFixedFormats[] = {
    "%1.0f",    "%2.0f",    "%3.0f",     "%4.0f",    "%5.0f",     "%.0f",       "%02.0f",
    "%03.0f",   "%04.0f",   "% 2.0f",    "%+4.0f",   "%-5.0f|",   "%+-6.0f|",   "% 05.0f",
    "AOA %.0f", "%4.0f kt", "0%2.0f",    "00%1.0f",  "%3.0f bar", "%03.0f\xB0", "%5.0f ft",
    "%.0f NM",  "%1.1f",    "%2.1f",     "%6.1f",    "%06.1f",    "%6.2f",      "%.3f",
    "%+08.3f",  "%-8.2f|",  "AOA %2.1f", "%1.1f nm", "%.1fnm",    "%.2f",       "%02.0f:%02.0f:%02.0f",
};

// Halves at every precision, the sides of each width, zeros of both signs,
// the ends of the range written here, and what it leaves to the library.
std::vector<double> sweep_values() {
  std::vector<double> v = {0.0,
                           -0.0,
                           0.5,
                           -0.5,
                           1.5,
                           2.5,
                           -2.5,
                           0.49999999999999994,
                           0.5000000000000001,
                           9.5,
                           9.499999999,
                           99.5,
                           99.49999,
                           999.5,
                           9999.5,
                           99999.5,
                           -9.5,
                           -99.5,
                           -999.5,
                           0.05,
                           0.15,
                           0.25,
                           0.35,
                           0.125,
                           0.375,
                           0.0625,
                           1.005,
                           2.675,
                           1e-300,
                           -1e-300,
                           4.9e-324,
                           -4.9e-324,
                           DBL_MIN,
                           1e15 + 0.5,
                           4503599627370495.5,
                           9007199254740993.0,
                           std::ldexp(1.0, 53),
                           std::ldexp(1.0, 62),
                           std::ldexp(1.0, 63),
                           std::ldexp(1.0, 64),
                           -std::ldexp(1.0, 63),
                           9.2e18,
                           1.8e19,
                           1e20,
                           1e300,
                           DBL_MAX,
                           -DBL_MAX,
                           std::nan(""),
                           -std::nan(""),
                           HUGE_VAL,
                           -HUGE_VAL};
  for (int k = -1100; k <= 1100; ++k) {
    v.push_back(k + 0.5);
    v.push_back(k / 10.0 + 0.05);
    v.push_back(k / 100.0 + 0.005);
    v.push_back(k / 1000.0 + 0.0005);
    v.push_back(k * 9.7 + 0.3);
  }
  // A deterministic spread over many magnitudes.
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 2000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
    v.push_back((unit - 0.5) * std::pow(10.0, i % 22 - 4));
  }
  return v;
}

TEST(TextFormat, FixedPointTextsAreTheCLibrarysOverAWideSweep) {
  const std::vector<double> values = sweep_values();
  for (const char* format : kFixedFormats) {
    for (double value : values) {
      for (std::size_t size : {64u, 4u}) {
        const Both r = format_both(size, format, value, value, value);
        ASSERT_EQ(r.ours, r.library) << format << " of " << value << " in " << size << " bytes";
        ASSERT_EQ(r.ours_length, r.library_length) << format << " of " << value;
      }
    }
  }
}

// A number format read when the program is compiled writes what snprintf
// writes with its text, through the compiled and the run-time path, whole
// and cut, and never past the buffer.
template <orv::NumberFormat Format>
void expect_the_c_librarys(const std::vector<double>& values) {
  for (double value : values) {
    for (std::size_t size : {40u, 5u, 1u, 0u}) {
      char library[48], compiled[48], run_time[48];
      std::memset(library, '#', sizeof library);
      std::memset(compiled, '#', sizeof compiled);
      std::memset(run_time, '#', sizeof run_time);
      const int wanted = std::snprintf(library, size, Format.text, value);
      const int kept = size == 0 ? 0 : std::min(wanted, static_cast<int>(size) - 1);
      ASSERT_EQ(orv::format_number<Format>(compiled, size, value), kept) << Format.text << " of " << value;
      ASSERT_EQ(orv::format_number(run_time, size, Format, value), kept) << Format.text << " of " << value;
      ASSERT_EQ(std::memcmp(library, compiled, sizeof library), 0)
          << Format.text << " of " << value << " in " << size;
      ASSERT_EQ(std::memcmp(library, run_time, sizeof library), 0)
          << Format.text << " of " << value << " in " << size;
    }
  }
}

template <orv::NumberFormat... Formats>
void expect_all_the_c_librarys(const std::vector<double>& values) {
  (expect_the_c_librarys<Formats>(values), ...);
}

TEST(TextFormat, CompiledNumberFormatsAreTheCLibrarysOverAWideSweep) {
  const std::vector<double> values = sweep_values();
  // Every number format of the gauges, then the flags they do not use.
  expect_all_the_c_librarys<"%1.0f", "%2.0f", "%3.0f", "%4.0f", "%5.0f", " %2.0f", " %3.0f", " %4.0f",
                            "  %1.0f", "  %2.0f", "  %3.0f", "   %1.0f", "   %2.0f", "    %1.0f", "0%1.0f",
                            "0%2.0f", "00%1.0f", "%03.0f", "%04.0f", "%03.0f\xB0", "CRS %03.0f", "DTK %03.0f",
                            "AOA %.0f", "AOA %2.1f", "%1.0f kt", "%2.0f kt", "%3.0f kt", "%4.0f kt",
                            "%5.0f ft", "%3.0f bar", "% 2.0f nm", "%1.1f nm", "%3.0f nm", "%3.1f nm",
                            "%3.2f nm", "DME %3.0f", "DME %3.1f", "DME %3.2f", "GPS %3.0f", "GPS %3.1f",
                            "GPS %3.2f", "%6.1f", "%06.1f", "%6.2f">(values);
  expect_all_the_c_librarys<"%+4.0f", "%-5.0f|", "%+-6.0f|", "% 05.0f", "%+08.3f", "%-8.2f|", "% .1f",
                            "%031.3f">(values);
}

TEST(TextFormat, IntegerTextsAreTheCLibrarys) {
  const char* const formats[] = {"%d",  "%02d",     "-%02d",      "+%02d",  "%5d",  "%-5d|", "%+d",
                                 "% d", "%.3d",     "%.0d",       "%08.3d", "%i",   "%u",    "%x",
                                 "%X",  "%04x.%1x", "1%02x.%02x", "%-+7i|", "% 06d"};
  const int values[] = {0,   1,   -1,   7,      -7,     9,       10,      99,
                        100, 255, 4096, 0x1835, 123456, -123456, INT_MAX, INT_MIN};
  for (const char* format : formats) {
    for (int value : values) {
      for (std::size_t size : {32u, 3u}) {
        const Both r = format_both(size, format, value, value);
        ASSERT_EQ(r.ours, r.library) << format << " of " << value;
        ASSERT_EQ(r.ours_length, r.library_length) << format << " of " << value;
      }
    }
  }
}

TEST(TextFormat, StringsCharactersAndPlainTextAreTheCLibrarys) {
  struct Case {
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {"%s", "ORV"},     {"%s", ""},          {"%5s", "TAC"},     {"%-5s|", "TAC"},  {"%.2s", "ORVANE"},
      {"%.9s", "AB"},    {"ID: %s ALT", "X"}, {"   ", nullptr},   {"", nullptr},     {"100%% ok", nullptr},
      {" TO ", nullptr}, {"%%%s%%", "a"},     {"%s", "\xB0\xE9"}, {"%c%c", nullptr}, {"%3c|%-3c|", nullptr},
  };
  for (const Case& c : cases) {
    for (std::size_t size : {32u, 3u, 1u, 0u}) {
      const Both r =
          c.text != nullptr ? format_both(size, c.format, c.text) : format_both(size, c.format, 'A', 'z');
      ASSERT_EQ(r.ours, r.library) << c.format;
      ASSERT_EQ(r.ours_length, r.library_length) << c.format;
    }
  }
  // "%.*s" takes its precision from the arguments.
  for (int precision : {-1, 0, 2, 8}) {
    const Both r = format_both(32, "[%.*s]", precision, "WAYPT");
    EXPECT_EQ(r.ours, r.library) << precision;
  }
}

// What the formatter leaves to the library still comes out as the library
// writes it: other conversions, the '#' flag, more decimals, a null string.
TEST(TextFormat, FormatsLeftToTheLibraryComeOutUnchanged) {
  const Both wide = format_both(64, "%f|%.6f|%#.0f|%e|%g|%ld", 2.5, 2.5, 2.5, 2.5, 2.5, 7L);
  EXPECT_EQ(wide.ours, wide.library);
  const Both null_text = format_both(64, "%s", static_cast<const char*>(nullptr));
  EXPECT_EQ(null_text.ours, null_text.library);
  // A value met halfway through: the text starts again in the library.
  const Both halfway = format_both(64, "%3.0f:%3.0f:%3.0f", 1.5, std::nan(""), 2.5);
  EXPECT_EQ(halfway.ours, halfway.library);
}

}  // namespace
