// The trace's lines as they are made: appended to a buffer that goes to the
// output whenever it holds a block, so the run's memory does not grow with
// its length. Numbers and texts as trace_format writes them, JSON values as
// json_writer does.
#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "host/record/byte_buffer.h"
#include "host/record/json_writer.h"
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
  // A number as a JSON value (json_writer).
  TraceWriter& json_number(double v) {
    buffer_.commit(put_json_number(buffer_.reserve(kJsonNumberChars), v));
    return *this;
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
  // A JSON string (json_writer) of a C string, nullptr as "".
  TraceWriter& json_string(const char* text) {
    const std::string_view view = text != nullptr ? std::string_view(text) : std::string_view();
    buffer_.commit(put_json_string(buffer_.reserve(2 + kJsonCharsPerByte * view.size()), view));
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
