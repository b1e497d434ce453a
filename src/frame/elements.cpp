#include "frame/elements.h"

#include <cmath>

#include "frame/text_format.h"

namespace orv {

namespace {

int format_into(char* buffer, std::size_t size, const char* format, std::va_list args) {
  if (buffer == nullptr || size == 0) return 0;
  if (format == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  const int wanted = format_text(buffer, size, format, args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  const auto limit = static_cast<int>(size - 1);
  return wanted < limit ? wanted : limit;
}

}  // namespace

int write_text_v(TextElement* e, const char* format, std::va_list args) {
  if (e == nullptr) return 0;
  return format_into(e->text, static_cast<std::size_t>(e->max_chars) + 1, format, args);
}

int write_text(TextElement* e, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int n = write_text_v(e, format, args);
  va_end(args);
  return n;
}

int write_number(TextElement* e, const NumberFormat& format, f64 value) {
  if (e == nullptr) return 0;
  return format_number(e->text, static_cast<std::size_t>(e->max_chars) + 1, format, value);
}

int write_plain(TextElement* e, const char* text) {
  if (e == nullptr || e->text == nullptr) return 0;
  if (text == nullptr) text = "(null)";  // as the C libraries of both targets print a null "%s"
  const int limit = e->max_chars;
  char* out = e->text;
  int n = 0;
  for (; n < limit && text[n] != '\0'; ++n) out[n] = text[n];
  out[n] = '\0';
  return n;
}

int format_bounded(char* buffer, std::size_t size, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int n = format_into(buffer, size, format, args);
  va_end(args);
  return n;
}

}  // namespace orv
