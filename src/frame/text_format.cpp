#include "frame/text_format.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace orv {

namespace {

// One conversion: %[flags][width][.precision]conversion.
struct Spec {
  bool left = false, plus = false, space = false, zero = false;
  bool star_precision = false;
  int width = 0;
  int precision = -1;  // none
  char conversion = 0;
};

constexpr int kMaxPrecision = 3;    // decimals of %f written here
constexpr int kMaxWidthDigits = 4;  // widths and precisions up to 9999

// Reads the conversion after a '%' at `p` (which it advances past it);
// false for a conversion this formatter leaves to the C library.
bool parse(const char*& p, Spec& s) {
  for (;; ++p) {
    if (*p == '-')
      s.left = true;
    else if (*p == '+')
      s.plus = true;
    else if (*p == ' ')
      s.space = true;
    else if (*p == '0')
      s.zero = true;
    else
      break;
  }
  for (int digits = 0; *p >= '0' && *p <= '9'; ++p, ++digits) {
    if (digits == kMaxWidthDigits) return false;
    s.width = s.width * 10 + (*p - '0');
  }
  if (*p == '.') {
    ++p;
    s.precision = 0;
    if (*p == '*') {
      s.star_precision = true;
      ++p;
    } else {
      for (int digits = 0; *p >= '0' && *p <= '9'; ++p, ++digits) {
        if (digits == kMaxWidthDigits) return false;
        s.precision = s.precision * 10 + (*p - '0');
      }
    }
  }
  s.conversion = *p;
  switch (*p) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
      break;
    case 'c':
    case 's':
      if (s.zero) return false;
      break;
    case '%':
      if (s.left || s.plus || s.space || s.zero || s.width != 0 || s.precision >= 0) return false;
      break;
    case 'f':
      // The precision is known only when it is written out; the default is 6.
      if (s.star_precision || s.precision < 0 || s.precision > kMaxPrecision) return false;
      break;
    default:
      return false;
  }
  ++p;
  return true;
}

// The text so far: characters past the buffer are counted, not stored.
struct Out {
  char* buffer;
  std::size_t capacity;  // characters that fit, without the terminator
  std::size_t length = 0;

  void put(char c) {
    if (length < capacity) buffer[length] = c;
    ++length;
  }
  // The pieces are a few characters long: a loop costs less than memcpy.
  void put(const char* s, std::size_t n) {
    const std::size_t room = length < capacity ? capacity - length : 0;
    const std::size_t kept = n < room ? n : room;
    char* to = buffer + length;
    for (std::size_t i = 0; i < kept; ++i) to[i] = s[i];
    length += n;
  }
  // Pads are a character or two: per character, which the compiler keeps
  // inline (a counted fill becomes a call to memset).
  void fill(char c, int n) {
    for (; n > 0; --n) put(c);
  }
};

// A field: `sign` (0 for none), `zeros` leading zeros, then `body`, padded to
// the width as the flags say.
void field(Out& out, const Spec& s, char sign, int zeros, const char* body, std::size_t length,
           bool zero_pad) {
  const int used = (sign != 0 ? 1 : 0) + zeros + static_cast<int>(length);
  const int pad = s.width > used ? s.width - used : 0;
  if (!s.left && !zero_pad) out.fill(' ', pad);
  if (sign != 0) out.put(sign);
  if (!s.left && zero_pad) out.fill('0', pad);
  out.fill('0', zeros);
  out.put(body, length);
  if (s.left) out.fill(' ', pad);
}

// Digits of `v` in `base`, written backwards from `end`; returns the first.
char* digits(std::uint64_t v, unsigned base, bool upper, char* end) {
  const char* symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    *--end = symbols[v % base];
    v /= base;
  } while (v != 0);
  return end;
}

char* decimal_digits(std::uint64_t v, char* end) {
  if (v <= UINT32_MAX) {  // no 64-bit division on 32-bit targets
    auto w = static_cast<std::uint32_t>(v);
    do {
      *--end = static_cast<char>('0' + w % 10);
      w /= 10;
    } while (w != 0);
    return end;
  }
  do {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  return end;
}

char sign_of(bool negative, const Spec& s) {
  if (negative) return '-';
  if (s.plus) return '+';
  if (s.space) return ' ';
  return 0;
}

void integer(Out& out, const Spec& s, bool negative, std::uint64_t magnitude, unsigned base, bool upper) {
  char text[32];
  char* const end = text + sizeof text;
  char* first = end;
  // A precision of 0 prints nothing for 0.
  if (!(s.precision == 0 && magnitude == 0))
    first = base == 10 ? decimal_digits(magnitude, end) : digits(magnitude, base, upper, end);
  const auto length = static_cast<std::size_t>(end - first);
  const int zeros = s.precision > static_cast<int>(length) ? s.precision - static_cast<int>(length) : 0;
  const bool signed_conversion = s.conversion == 'd' || s.conversion == 'i';
  field(out, s, signed_conversion ? sign_of(negative, s) : 0, zeros, first, length,
        s.zero && s.precision < 0);
}

using number_text::kPowersOfTen;
using number_text::scaled_round;

bool fixed(Out& out, const Spec& s, double value) {
  std::uint64_t n = 0;
  if (!scaled_round(value, s.precision, &n)) return false;
  char text[32];
  char* const end = text + sizeof text;
  char* first = end;
  if (s.precision > 0) {
    std::uint64_t fraction = n % kPowersOfTen[s.precision];
    for (int i = 0; i < s.precision; ++i) {
      *--first = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    *--first = '.';
  }
  first = decimal_digits(s.precision > 0 ? n / kPowersOfTen[s.precision] : n, first);
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  field(out, s, sign_of((bits >> 63) != 0, s), 0, first, static_cast<std::size_t>(end - first), s.zero);
  return true;
}

// Writes the whole text in one pass; false (with `args` partly read) at the
// first conversion or value that needs the C library.
bool write_all(Out& out, const char* format, std::va_list args) {
  for (const char* p = format; *p != '\0';) {
    if (*p != '%') {
      do {
        out.put(*p++);
      } while (*p != '\0' && *p != '%');
      continue;
    }
    ++p;
    Spec s;
    if (!parse(p, s)) return false;
    if (s.star_precision) {
      s.precision = va_arg(args, int);
      if (s.precision < 0) s.precision = -1;
    }
    switch (s.conversion) {
      case '%':
        out.put('%');
        break;
      case 'd':
      case 'i': {
        const int v = va_arg(args, int);
        const std::uint64_t magnitude =
            v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(v))
                  : static_cast<std::uint64_t>(v);
        integer(out, s, v < 0, magnitude, 10, false);
        break;
      }
      case 'u':
      case 'x':
      case 'X': {
        const unsigned v = va_arg(args, unsigned);
        integer(out, s, false, v, s.conversion == 'u' ? 10 : 16, s.conversion == 'X');
        break;
      }
      case 'c': {
        const char c = static_cast<char>(va_arg(args, int));
        field(out, s, 0, 0, &c, 1, false);
        break;
      }
      case 's': {
        const char* text = va_arg(args, const char*);
        if (text == nullptr) return false;
        std::size_t length = 0;
        if (s.precision < 0) {
          length = std::strlen(text);
        } else {
          while (length < static_cast<std::size_t>(s.precision) && text[length] != '\0') ++length;
        }
        field(out, s, 0, 0, text, length, false);
        break;
      }
      case 'f':
        if (!fixed(out, s, va_arg(args, double))) return false;
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

namespace number_text {

int number_cut(char* buffer, std::size_t size, const NumberFormat& format, double value) {
  char whole[NumberFormat::kMaxLength + NumberFormat::kMaxWidth + 32];
  int length = number_in_place(whole, sizeof whole, format, value);
  if (length < 0) {
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    length = std::snprintf(buffer, size, format.text, value);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (length < 0) {
      buffer[0] = '\0';
      return 0;
    }
    return static_cast<std::size_t>(length) < size ? length : static_cast<int>(size - 1);
  }
  const int kept = static_cast<std::size_t>(length) < size ? length : static_cast<int>(size - 1);
  for (int i = 0; i < kept; ++i) buffer[i] = whole[i];
  buffer[kept] = '\0';
  return kept;
}

}  // namespace number_text

int format_number(char* buffer, std::size_t size, const NumberFormat& format, double value) {
  if (buffer == nullptr || size == 0) return 0;
  const int length = number_text::number_in_place(buffer, size, format, value);
  return length >= 0 ? length : number_text::number_cut(buffer, size, format, value);
}

int format_text(char* buffer, std::size_t size, const char* format, std::va_list args) {
  if (format == nullptr) {
    if (buffer != nullptr && size > 0) buffer[0] = '\0';
    return 0;
  }
  std::va_list again;
  va_copy(again, args);
  Out out{buffer, size > 0 ? size - 1 : 0};
  int result = 0;
  if (write_all(out, format, args) && out.length <= static_cast<std::size_t>(INT_MAX)) {
    if (size > 0) buffer[out.length < out.capacity ? out.length : out.capacity] = '\0';
    result = static_cast<int>(out.length);
  } else {
    result = std::vsnprintf(buffer, size, format, again);
  }
  va_end(again);
  return result;
}

}  // namespace orv
