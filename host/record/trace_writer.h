// The trace's lines as they are made: appended to a buffer that goes to the
// output whenever it holds a block, so the run's memory does not grow with
// its length. Numbers and texts as trace_format writes them; JSON values
// (strings of ASCII only, numbers, booleans, null) for the JSON lines.
#pragma once

#include <charconv>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "host/load/windows_text.h"
#include "host/record/byte_buffer.h"
#include "host/record/trace_format.h"
#include "host/record/trace_output.h"

namespace orv::host {

class TraceWriter {
 public:
  // Until destroyed, a crash in the module first writes out the whole
  // lines made so far, so the trace ends with the last line before the fault.
  explicit TraceWriter(TraceOutput& out);
  ~TraceWriter();
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  TraceWriter& operator<<(std::string_view s) {
    buffer_.append(s);
    return *this;
  }
  TraceWriter& operator<<(char c) {
    buffer_.push_back(c);
    return *this;
  }
  template <std::integral T>
  TraceWriter& operator<<(T v) {
    char* at = buffer_.reserve(24);
    auto [end, ec] = std::to_chars(at, at + 24, v);
    buffer_.commit(ec == std::errc() ? end : at);
    return *this;
  }
  TraceWriter& number(double v) {
    buffer_.commit(put_number(buffer_.reserve(kNumberChars), v));
    return *this;
  }
  // A number as a JSON value: NaN and the infinities, which JSON has no
  // numbers for, as the strings "nan", "inf" and "-inf".
  TraceWriter& json_number(double v) {
    if (!std::isfinite(v)) return *this << '"' << (std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf") << '"';
    return number(v);
  }
  // The trace's escaping (escape_text).
  TraceWriter& escaped(const char* text) {
    if (text != nullptr) buffer_.commit(put_escaped(buffer_.reserve(kEscapeChars * std::strlen(text)), text));
    return *this;
  }
  // A whole line.
  void line(std::string_view text) {
    char* at = buffer_.reserve(text.size() + 1);
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\n';
    buffer_.commit(at + text.size() + 1);
    if (buffer_.size() >= kBlock) drain();
  }
  // A JSON string of ASCII only: characters outside printable ASCII as
  // \uXXXX of their Windows-1252 code point.
  TraceWriter& json_string(const char* text) {
    static const char kHex[] = "0123456789abcdef";
    buffer_.push_back('"');
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); p != nullptr && *p != 0; ++p) {
      if (*p == '"' || *p == '\\') {
        buffer_.push_back('\\');
        buffer_.push_back(static_cast<char>(*p));
      } else if (*p >= 0x20 && *p < 0x7F) {
        buffer_.push_back(static_cast<char>(*p));
      } else {
        const char32_t cp = windows_1252_code_point(*p);
        const char hex[6] = {
            '\\', 'u', kHex[(cp >> 12) & 15], kHex[(cp >> 8) & 15], kHex[(cp >> 4) & 15], kHex[cp & 15]};
        buffer_.append(hex, 6);
      }
    }
    buffer_.push_back('"');
    return *this;
  }
  TraceWriter& json_string(const std::string& text) { return json_string(text.c_str()); }
  TraceWriter& json_name(const char* name) { return name != nullptr ? json_string(name) : *this << "null"; }
  TraceWriter& json_bool(bool v) { return *this << (v ? "true" : "false"); }

  // Ends a line; a full block goes to the output.
  void end_line() {
    buffer_.push_back('\n');
    if (buffer_.size() >= kBlock) drain();
  }
  // Writes out what is left and flushes the output.
  void finish();

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  static void on_fault(void* self);
  void drain();

  TraceOutput& out_;
  ByteBuffer buffer_;
};

}  // namespace orv::host
