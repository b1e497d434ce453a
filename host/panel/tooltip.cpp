#include "host/panel/tooltip.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace orv::host {

namespace {

// Width and precision take at most two digits each: a conversion asking for
// more is not one this host formats (it is copied as it stands), so no
// placeholder can ask for more than a short line of text.
constexpr std::size_t kMaxDigits = 2;

// Skips the digits at `i`; false when there are more than kMaxDigits.
bool skip_digits(std::string_view spec, std::size_t& i) {
  const std::size_t start = i;
  while (i < spec.size() && spec[i] >= '0' && spec[i] <= '9') ++i;
  return i - start <= kMaxDigits;
}

// Parses a conversion "04.2f" into a printf format; returns the conversion
// letter, or 0 when `spec` is not one.
char make_format(std::string_view spec, std::string& format) {
  std::size_t i = 0;
  while (i < spec.size() && i < 8 && std::strchr("-+ #0", spec[i]) != nullptr) ++i;
  // Leading zeros are the 0 flag, not width digits.
  if (!skip_digits(spec, i)) return 0;
  if (i < spec.size() && spec[i] == '.') {
    ++i;
    if (!skip_digits(spec, i)) return 0;
  }
  if (i + 1 != spec.size() || std::strchr("diuxXcfFeEgGs", spec[i]) == nullptr) return 0;
  const char conversion = spec[i];
  format.clear();
  format.push_back('%');
  format.append(spec.substr(0, i));
  if (std::strchr("diuxXc", conversion) != nullptr && conversion != 'c') format += "ll";
  format += conversion;
  return conversion;
}

long long to_integer(double v) {
  if (!std::isfinite(v)) return 0;
  if (v >= 9.2e18) return 9200000000000000000LL;
  if (v <= -9.2e18) return -9200000000000000000LL;
  return static_cast<long long>(v);
}

void append_formatted(std::string& out, const std::string& format, char conversion, double number,
                      const std::string& text) {
  char buffer[512];
  int n = 0;
  if (conversion == 's') {
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), text.c_str());
  } else if (conversion == 'c') {
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<int>(to_integer(number)));
  } else if (std::strchr("diuxX", conversion) != nullptr) {
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), to_integer(number));
  } else {
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), number);
  }
  if (n > 0) out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

}  // namespace

std::string format_tooltip(std::string_view text, const TooltipSources& sources) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '%' || i + 1 >= text.size()) {
      out += c;
      ++i;
      continue;
    }
    if (text[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    // %N!spec!
    if (text[i + 1] >= '1' && text[i + 1] <= '9') {
      std::size_t j = i + 1;
      int index = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9' && index < 100)
        index = index * 10 + (text[j++] - '0');
      const std::size_t close =
          j < text.size() && text[j] == '!' ? text.find('!', j + 1) : std::string_view::npos;
      std::string format;
      const char conversion =
          close == std::string_view::npos ? 0 : make_format(text.substr(j + 1, close - j - 1), format);
      if (conversion == 0) {
        out += c;
        ++i;
        continue;
      }
      const double number = conversion == 's' || !sources.number ? 0.0 : sources.number(index);
      const std::string arg = conversion == 's' && sources.text ? sources.text(index) : std::string();
      append_formatted(out, format, conversion, number, arg);
      i = close + 1;
      continue;
    }
    // %(expression)%!spec!
    if (text[i + 1] == '(') {
      const std::size_t end = text.find(")%", i + 2);
      if (end != std::string_view::npos) {
        std::size_t j = end + 2;
        std::string format;
        char conversion = 0;
        std::size_t close = std::string_view::npos;
        if (j < text.size() && text[j] == '!') {
          close = text.find('!', j + 1);
          if (close != std::string_view::npos)
            conversion = make_format(text.substr(j + 1, close - j - 1), format);
        }
        // The expression proper is the text between "%(" and ")%".
        const std::string inner(text.substr(i + 2, end - i - 2));
        const double value = sources.expression ? sources.expression(inner) : 0.0;
        if (conversion != 0 && conversion != 's') {
          append_formatted(out, format, conversion, value, {});
          i = close + 1;
        } else {
          append_formatted(out, "%g", 'g', value, {});
          i = j;
        }
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace orv::host
