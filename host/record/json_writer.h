// JSON as the host writes it, in one place: the trace's JSON lines and the
// tool's --json reports alike. Plain ASCII: a string is the module's 8-bit
// text (Windows-1252) with '"' and '\\' escaped and every byte outside
// printable ASCII as \uXXXX of its Windows-1252 code point (docs/trace.md);
// a number as "%.6g" writes it (trace_format), NaN and the infinities, which
// JSON has no numbers for, as the strings "nan", "inf" and "-inf".
//
// The character-pointer forms write into a buffer the caller sized and
// return the end (the trace's lines, made in place); JsonWriter builds a
// whole document in a string, placing the commas itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/record/trace_format.h"

namespace orv::host {

// The most bytes put_json_string writes for one byte of text (\uXXXX).
constexpr std::size_t kJsonCharsPerByte = 6;

// Room for any number put_json_number writes.
constexpr std::size_t kJsonNumberChars = kNumberChars + 2;

// Writes `text` as a JSON string, quotes included; `o` has room for
// 2 + kJsonCharsPerByte * text.size() bytes.
char* put_json_string(char* o, std::string_view text);

// Writes `v` as a JSON value; `o` has room for kJsonNumberChars bytes.
char* put_json_number(char* o, double v);

// A JSON document: values, objects and arrays in the order written, the
// commas between members and elements placed by the writer. `spaced` writes
// ", " and ": " between members and elements, `compact` "," and ":".
class JsonWriter {
 public:
  enum class Spacing { compact, spaced };
  explicit JsonWriter(Spacing spacing = Spacing::spaced) : spacing_(spacing) {}

  JsonWriter& begin_object();
  JsonWriter& end_object();
  JsonWriter& begin_array();
  JsonWriter& end_array();
  // The next member's name (inside an object, before its value).
  JsonWriter& key(std::string_view name);

  JsonWriter& string(std::string_view text);
  JsonWriter& number(double v);
  JsonWriter& integer(std::int64_t v);
  JsonWriter& boolean(bool v);
  JsonWriter& null();
  // A string, or null for none.
  JsonWriter& string_or_null(const char* text) { return text != nullptr ? string(text) : null(); }

  // The next element or member, or the closing bracket, starts a line of
  // its own, `indent` spaces in.
  JsonWriter& line_break(int indent);

  const std::string& text() const { return text_; }

 private:
  // Before a value or a key: the comma after the previous one, the pending
  // line break or the space after the comma.
  void separate();
  void open(char bracket);
  void close(char bracket);

  std::string text_;
  Spacing spacing_;
  // Per open bracket: whether it holds a member or element yet.
  std::vector<bool> filled_;
  bool after_key_ = false;
  int pending_break_ = -1;  // indent of the line break asked for, -1: none
};

}  // namespace orv::host
