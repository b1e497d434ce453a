#include "host/record/json_writer.h"

#include <charconv>
#include <cmath>

#include "host/load/windows_text.h"

namespace orv::host {

char* put_json_string(char* o, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  *o++ = '"';
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      *o++ = '\\';
      *o++ = ch;
    } else if (c >= 0x20 && c < 0x7F) {
      *o++ = ch;
    } else {
      const char32_t cp = windows_1252_code_point(c);
      *o++ = '\\';
      *o++ = 'u';
      *o++ = kHex[(cp >> 12) & 15];
      *o++ = kHex[(cp >> 8) & 15];
      *o++ = kHex[(cp >> 4) & 15];
      *o++ = kHex[cp & 15];
    }
  }
  *o++ = '"';
  return o;
}

char* put_json_number(char* o, double v) {
  if (std::isfinite(v)) return put_number(o, v);
  *o++ = '"';
  o = put_number(o, v);
  *o++ = '"';
  return o;
}

void JsonWriter::separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (filled_.empty()) return;
  const bool first = !filled_.back();
  filled_.back() = true;
  if (!first) text_ += ',';
  if (pending_break_ >= 0) {
    text_ += '\n';
    text_.append(static_cast<std::size_t>(pending_break_), ' ');
    pending_break_ = -1;
  } else if (!first && spacing_ == Spacing::spaced) {
    text_ += ' ';
  }
}

void JsonWriter::open(char bracket) {
  separate();
  text_ += bracket;
  filled_.push_back(false);
}

void JsonWriter::close(char bracket) {
  if (pending_break_ >= 0) {
    text_ += '\n';
    text_.append(static_cast<std::size_t>(pending_break_), ' ');
    pending_break_ = -1;
  }
  text_ += bracket;
  if (!filled_.empty()) filled_.pop_back();
}

JsonWriter& JsonWriter::begin_object() {
  open('{');
  return *this;
}

JsonWriter& JsonWriter::end_object() {
  close('}');
  return *this;
}

JsonWriter& JsonWriter::begin_array() {
  open('[');
  return *this;
}

JsonWriter& JsonWriter::end_array() {
  close(']');
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  string(name);
  text_ += spacing_ == Spacing::spaced ? ": " : ":";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
  separate();
  const std::size_t at = text_.size();
  text_.resize(at + 2 + kJsonCharsPerByte * text.size());
  text_.resize(static_cast<std::size_t>(put_json_string(text_.data() + at, text) - text_.data()));
  return *this;
}

JsonWriter& JsonWriter::number(double v) {
  separate();
  char buffer[kJsonNumberChars];
  text_.append(buffer, put_json_number(buffer, v));
  return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t v) {
  separate();
  char buffer[24];
  text_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
  return *this;
}

JsonWriter& JsonWriter::boolean(bool v) {
  separate();
  text_ += v ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::null() {
  separate();
  text_ += "null";
  return *this;
}

JsonWriter& JsonWriter::line_break(int indent) {
  pending_break_ = indent;
  return *this;
}

}  // namespace orv::host
