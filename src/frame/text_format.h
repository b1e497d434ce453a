// The module's text formatter: snprintf's output, byte for byte, for the
// formats the gauges write on every update, without the C library's general
// machinery (which costs thousands of instructions per call for a floating
// point conversion).
//
// Written directly: plain characters and "%%"; %d %i %u %x %X %c with the
// flags '-', '+', ' ' and '0', a width and a precision; %s (a non-null
// string) with a width and a precision ("%.*s" too); %f with a precision of
// 0 to 3. A fixed-point number is the exact binary value of the double,
// rounded to the precision with ties to even, as the C library rounds it; the
// sign is that of the double, so -0.0 and -0.2 print as "-0".
//
// Anything else (another conversion or length modifier, the '#' flag, a %f
// with more than three decimals, a value that is not finite or too large for
// 64 bits, a null %s) goes to vsnprintf, so the output is the C library's in
// every case.
#pragma once

#include <bit>
#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace orv {

// A text with one fixed-point number, "[prefix]%[flags][width].<precision>f
// [suffix]", read when the program is compiled: a call writes only the
// number's digits between the fixed parts. The flags are '-', '+', ' ' and
// '0', the width at most 31, the precision 0 to 3, and the fixed parts
// contain no '%'; any other format does not compile. The number is the one
// format_text writes (the exact binary value rounded with ties to even, the
// sign that of the double); a value that is not finite or too large for 64
// bits is written by snprintf with the format.
//
// Formats are written where they are used, as `write_number<"%4.0f">(e, v)`,
// or kept in constants and tables (`constexpr NumberFormat k{"%3.1f nm"}`).
struct NumberFormat {
  static constexpr std::size_t kMaxLength = 23;  // characters of the format
  static constexpr int kMaxWidth = 31;

  // Implicit: formats are written as literals.
  template <std::size_t N>
  consteval NumberFormat(const char (&format)[N]) {
    if (N - 1 > kMaxLength || format[N - 1] != '\0') unsupported();
    for (std::size_t i = 0; i < N; ++i) text[i] = format[i];
    std::size_t p = 0;
    while (p < N - 1 && format[p] != '%') ++p;
    if (p == N - 1) unsupported();
    prefix_length = static_cast<unsigned char>(p);
    for (++p;; ++p) {
      if (format[p] == '-')
        left = true;
      else if (format[p] == '+')
        plus = true;
      else if (format[p] == ' ')
        space = true;
      else if (format[p] == '0')
        zero = true;
      else
        break;
    }
    int w = 0;
    for (; format[p] >= '0' && format[p] <= '9'; ++p) w = w * 10 + (format[p] - '0');
    if (w > kMaxWidth || format[p] != '.') unsupported();
    ++p;
    if (format[p] < '0' || format[p] > '3' || format[p + 1] != 'f') unsupported();
    precision = static_cast<unsigned char>(format[p] - '0');
    width = static_cast<unsigned char>(w);
    suffix_start = static_cast<unsigned char>(p + 2);
    for (std::size_t q = suffix_start; q < N - 1; ++q)
      if (format[q] == '%') unsupported();
    length = static_cast<unsigned char>(N - 1);
  }

  // The whole format, for the C library's fallback; then where the fixed
  // parts lie in it and the conversion's fields. (Public: a format is also a
  // template argument.)
  char text[kMaxLength + 1]{};
  unsigned char length = 0, prefix_length = 0, suffix_start = 0;
  unsigned char width = 0, precision = 0;
  bool left = false, plus = false, space = false, zero = false;

 private:
  // Not constant: reaching it stops the compilation.
  static void unsupported() {}
};

// As vsnprintf(buffer, size, format, args): the text is cut to size - 1
// characters and terminated (nothing is written when size is 0), and the
// return value is the length the whole text would have had (negative when
// vsnprintf reports an error).
int format_text(char* buffer, std::size_t size, const char* format, std::va_list args);

// The number `value` in `format` into `buffer` of `size` bytes: the text
// snprintf(buffer, size, format.text, value) writes, cut to size - 1
// characters and terminated; returns the characters written (nothing, 0,
// for a null buffer or a size of 0).
int format_number(char* buffer, std::size_t size, const NumberFormat& format, double value);

namespace number_text {

inline constexpr std::uint64_t kPowersOfTen[] = {1, 10, 100, 1000};

// `value` times 10^precision (0 to 3), rounded to the nearest integer with
// ties to even, from the exact binary value; false when it does not fit in
// 64 bits or the value is not finite.
[[gnu::always_inline]] inline bool scaled_round(double value, int precision, std::uint64_t* result) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto exponent_field = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (exponent_field == 0x7FF) return false;
  int exponent = -1074;
  if (exponent_field != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = exponent_field - 1075;
  }
  // |value| = mantissa * 2^exponent; the product below stays under 2^63.
  const std::uint64_t m = mantissa * kPowersOfTen[precision];
  if (exponent >= 0) {
    if (exponent >= 63 || m > (UINT64_MAX >> exponent)) return false;
    *result = m << exponent;
    return true;
  }
  const int shift = -exponent;
  if (shift >= 64) {  // below one half
    *result = 0;
    return true;
  }
  std::uint64_t n = m >> shift;
  const std::uint64_t rest = m & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (n & 1) != 0)) ++n;
  *result = n;
  return true;
}

// Decimal digits of `n` (1 for 0).
inline int digit_count(std::uint64_t n) {
  int count = 1;
  for (; n >= 10; n /= 10) ++count;
  return count;
}
inline int digit_count(std::uint32_t n) {
  if (n < 10000) return n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : 4;
  int count = 5;
  for (std::uint32_t limit = 100000; count < 10 && n >= limit; limit *= 10) ++count;
  return count;
}

// "00" to "99".
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The digits of `n` with a decimal point before its last `precision` digits,
// written backwards from `end` (which they fill up to its first digit); the
// whole part two digits at a time.
template <typename Unsigned>
void put_digits(Unsigned n, int precision, char* end) {
  for (int i = 0; i < precision; ++i) {
    *--end = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  if (precision > 0) *--end = '.';
  for (; n >= 100; n /= 100) {
    const auto pair = static_cast<unsigned>(n % 100) * 2;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
  }
  if (n >= 10) {
    *--end = kDigitPairs[n * 2 + 1];
    *--end = kDigitPairs[n * 2];
  } else {
    *--end = static_cast<char>('0' + n);
  }
}

// Hides the pointer of a loop of a few characters from the optimizer, which
// would otherwise call memcpy or memset for runs shorter than the calls.
inline void one_by_one([[maybe_unused]] char*& p) {
#if defined(__GNUC__)
  asm("" : "+r"(p));
#endif
}

// The text of `value` in `format` at `out`, terminated, when it fits in
// `size` bytes; its length, or -1 (nothing written) when it does not fit or
// the C library writes the value.
// Always inlined, so that a constant format folds into the code.
[[gnu::always_inline]] inline int number_in_place(char* out, std::size_t size, const NumberFormat& format,
                                                  double value) {
  std::uint64_t n = 0;
  if (!scaled_round(value, format.precision, &n)) return -1;
  const bool small = n <= UINT32_MAX;  // no 64-bit division on 32-bit targets
  const int count = small ? digit_count(static_cast<std::uint32_t>(n)) : digit_count(n);
  const int digits = count > format.precision ? count : format.precision + 1;
  const int body = digits + (format.precision > 0 ? 1 : 0);
  const char sign = std::bit_cast<std::int64_t>(value) < 0 ? '-' : format.plus ? '+' : format.space ? ' ' : 0;
  const int used = body + (sign != 0 ? 1 : 0);
  const int pad = format.width > used ? format.width - used : 0;
  const int suffix = format.length - format.suffix_start;
  const int total = format.prefix_length + pad + used + suffix;
  if (static_cast<std::size_t>(total) >= size) return -1;
  char* p = out;
  for (int i = 0; i < format.prefix_length; ++i, one_by_one(p)) *p++ = format.text[i];
  if (!format.left && !format.zero)
    for (int i = 0; i < pad; ++i, one_by_one(p)) *p++ = ' ';
  if (sign != 0) *p++ = sign;
  if (!format.left && format.zero)
    for (int i = 0; i < pad; ++i, one_by_one(p)) *p++ = '0';
  p += body;
  if (small)
    put_digits(static_cast<std::uint32_t>(n), format.precision, p);
  else
    put_digits(n, format.precision, p);
  if (format.left)
    for (int i = 0; i < pad; ++i, one_by_one(p)) *p++ = ' ';
  for (int i = 0; i < suffix; ++i, one_by_one(p)) *p++ = format.text[format.suffix_start + i];
  *p = '\0';
  return total;
}

// The rest of format_number: a text cut to the buffer, or one the C library
// writes.
int number_cut(char* buffer, std::size_t size, const NumberFormat& format, double value);

}  // namespace number_text

// The same with the format a constant of the program: the compiler writes
// its fixed parts and fields into the code.
template <NumberFormat Format>
int format_number(char* buffer, std::size_t size, double value) {
  if (buffer == nullptr || size == 0) return 0;
  const int length = number_text::number_in_place(buffer, size, Format, value);
  return length >= 0 ? length : number_text::number_cut(buffer, size, Format, value);
}

// The same only when the whole text fits: its length, or -1 with nothing
// written when it would be cut (or the C library writes the value).
template <NumberFormat Format>
int format_number_whole(char* buffer, std::size_t size, double value) {
  return buffer != nullptr ? number_text::number_in_place(buffer, size, Format, value) : -1;
}

}  // namespace orv
