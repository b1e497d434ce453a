#include "host/record/trace.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

#include "host/aircraft/event_names.h"
#include "host/aircraft/radio_stack.h"
#include "host/aircraft/token_names.h"
#include "host/load/host_error.h"
#include "host/load/module_call.h"
#include "host/load/stop_request.h"
#include "host/load/windows_text.h"
#include "host/panel/element_kind.h"
#include "host/scenario/scenario_run.h"

namespace orv::host {

using namespace abi;

namespace {

// Room for any number put_number writes.
constexpr std::size_t kNumberChars = 32;

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
constexpr std::size_t kEscapeChars = 4;

// Writes `text` as the trace shows texts: the module's Windows-1252 as UTF-8,
// '"' and '\\' escaped, control bytes and the bytes the code page leaves
// undefined as \xNN; returns the end. `o` has room for kEscapeChars bytes a
// character.
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

}  // namespace

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

void FileTraceOutput::write(const char* data, std::size_t size) {
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) fail();
}

void FileTraceOutput::flush() {
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) fail();
}

void FileTraceOutput::fail() const {
  const int error = errno;
  if (error == EPIPE && file_ == stdout) stop_output_closed();
  throw HostError(ErrorKind::unreadable, name_ + ": cannot write the trace" +
                                             (error != 0 ? std::string(": ") + std::strerror(error) : ""));
}

void StreamTraceOutput::write(const char* data, std::size_t size) {
  out_.write(data, static_cast<std::streamsize>(size));
  if (!out_) throw HostError(ErrorKind::unreadable, "cannot write the trace");
}

void StreamTraceOutput::flush() {
  out_.flush();
  if (!out_) throw HostError(ErrorKind::unreadable, "cannot write the trace");
}

namespace {

const char* button_name(MouseButton b) {
  return b == MouseButton::left ? "left" : b == MouseButton::right ? "right" : "move";
}

const char* element_text(const ElementHeader* e) {
  const char* text = reinterpret_cast<const TextElement*>(e)->text;
  return text != nullptr ? text : "";
}

// Bytes appended with a bounds check and a copy; grows only for a line
// longer than what it holds.
class ByteBuffer {
 public:
  explicit ByteBuffer(std::size_t capacity = 0) : data_(new char[capacity]), capacity_(capacity) {}
  void push_back(char c) {
    if (size_ == capacity_) grow(1);
    data_[size_++] = c;
  }
  void append(const char* p, std::size_t n) {
    if (capacity_ - size_ < n) grow(n);
    std::memcpy(data_.get() + size_, p, n);
    size_ += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  // Room for `n` more bytes, written through the pointer and then kept
  // with commit().
  char* reserve(std::size_t n) {
    make_room(n);
    return data_.get() + size_;
  }
  // Grows, if need be, to hold `n` more bytes.
  void make_room(std::size_t n) {
    if (capacity_ - size_ < n) grow(n);
  }
  void commit(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
  const char* data() const { return data_.get(); }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {data_.get(), size_}; }
  bool empty() const { return size_ == 0; }
  void clear() { size_ = 0; }
  // Keeps the first `n` bytes (n <= size()).
  void truncate(std::size_t n) { size_ = n; }

 private:
  void grow(std::size_t n) {
    const std::size_t capacity = std::max(capacity_ * 2, size_ + n);
    std::unique_ptr<char[]> data(new char[capacity]);
    std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }
  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

// Text made into lines: appends to a buffer that goes to the output whenever
// it holds a block, so the run's memory does not grow with its length.
class Writer {
 public:
  explicit Writer(TraceOutput& out) : out_(out), buffer_(kBlock + 4096) { set_fault_flush(&on_fault, this); }
  ~Writer() { set_fault_flush(nullptr, nullptr); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  Writer& operator<<(std::string_view s) {
    buffer_.append(s);
    return *this;
  }
  Writer& operator<<(char c) {
    buffer_.push_back(c);
    return *this;
  }
  template <std::integral T>
  Writer& operator<<(T v) {
    char* at = buffer_.reserve(24);
    auto [end, ec] = std::to_chars(at, at + 24, v);
    buffer_.commit(ec == std::errc() ? end : at);
    return *this;
  }
  Writer& number(double v) {
    buffer_.commit(put_number(buffer_.reserve(kNumberChars), v));
    return *this;
  }
  // A number as a JSON value: NaN and the infinities, which JSON has no
  // numbers for, as the strings "nan", "inf" and "-inf".
  Writer& json_number(double v) {
    if (!std::isfinite(v)) return *this << '"' << (std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf") << '"';
    return number(v);
  }
  // The trace's escaping (escape_text).
  Writer& escaped(const char* text) {
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
  Writer& json_string(const char* text) {
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
  Writer& json_string(const std::string& text) { return json_string(text.c_str()); }
  Writer& json_name(const char* name) { return name != nullptr ? json_string(name) : *this << "null"; }
  Writer& json_bool(bool v) { return *this << (v ? "true" : "false"); }

  // Ends a line; a full block goes to the output.
  void end_line() {
    buffer_.push_back('\n');
    if (buffer_.size() >= kBlock) drain();
  }
  void finish() {
    drain();
    out_.flush();
  }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  // A crash in the module: the whole lines written so far go out, so the
  // trace ends with the last line before the fault.
  static void on_fault(void* self) {
    auto* w = static_cast<Writer*>(self);
    std::size_t n = w->buffer_.size();
    while (n > 0 && w->buffer_.data()[n - 1] != '\n') --n;
    try {
      if (n > 0) w->out_.write(w->buffer_.data(), n);
      w->out_.flush();
    } catch (...) {
    }
  }
  void drain() {
    if (!buffer_.empty()) out_.write(buffer_.data(), buffer_.size());
    buffer_.clear();
  }

  TraceOutput& out_;
  ByteBuffer buffer_;
};

// An element's state without its text: kind, three numbers, bitmap, visibility.
constexpr std::size_t kLineRoom = 16 + 3 * (kNumberChars + 1) + 16 + 8 + 8;

// What an element line shows of the element's kind: its name and how many
// channel values.
struct KindFormat {
  std::string_view name;
  int channels = 0;
};

KindFormat describe_kind(u32 kind) {
  const abi::ElementKindLayout* k = element_kind(kind);
  return k != nullptr ? KindFormat{k->name, static_cast<int>(k->described)} : KindFormat{"unknown", 0};
}

// The raw state of an element the trace last formatted, compared before
// anything is formatted.
struct RawState {
  static constexpr std::uint64_t kUnseen = 1;
  std::uint64_t bits[3] = {0, 0, 0};  // the channel values, bit for bit
  std::uint64_t kind_bitmap = 0;      // the header's kind and bitmap words
  std::uint64_t hidden = kUnseen;     // the hidden flag's bit; kUnseen before the first
};

// The header's kind and bitmap words as one.
std::uint64_t kind_and_bitmap(const ElementHeader* e) {
  static_assert(offsetof(ElementHeader, bitmap) == offsetof(ElementHeader, kind) + sizeof(u32));
  std::uint64_t both;
  std::memcpy(&both, &e->kind, sizeof both);
  return both;
}

// What the trace last wrote of an element.
struct ElementMemo {
  RawState raw;
  ByteBuffer text;  // a text element's text
  // The element's line as the text format writes it ("  element 3.1 Gauge
  // needle v=20 bmp=20 shown"), its state alone for JSON lines.
  ByteBuffer line;
  std::size_t state_at = 0;  // where the state starts in `line`
};

// The numbers formatted last, by their bits: a frame shows one value on
// many elements (the head-up display draws each symbol in four colours, the
// displays repeat the heading and speeds).
class NumberCache {
 public:
  // put_number(out, v); `out` has room for kNumberChars bytes.
  char* put(char* out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Entry& e = entries_[(bits * 0x9E3779B97F4A7C15u) >> (64 - kIndexBits)];
    if (e.size == 0 || e.bits != bits) {
      e.bits = bits;
      e.size = static_cast<std::uint32_t>(put_number(e.text, v) - e.text);
    }
    std::memcpy(out, e.text, kNumberChars);
    return out + e.size;
  }

 private:
  static constexpr int kIndexBits = 6;
  struct Entry {
    std::uint64_t bits = 0;
    std::uint32_t size = 0;  // 0: empty
    char text[kNumberChars];
  };
  std::array<Entry, std::size_t{1} << kIndexBits> entries_{};
};

struct ClickRecord {
  const ScenarioClick* click;
  std::optional<std::size_t> index;
  ClickResult result;
};

struct TooltipRecord {
  const ScenarioTooltip* tooltip;
  std::optional<std::size_t> index;
  TooltipResult result;
};

class TraceRun {
 public:
  TraceRun(Host& host, TraceOutput& out, const TraceOptions& options)
      : host_(host), out_(out), full_(options.full), json_(options.format == TraceFormat::jsonl) {
    for (u32 k = 0; k < kinds_.size(); ++k) kinds_[k] = describe_kind(k);
    const std::size_t count = host.instances().size();
    memo_.resize(count);
    names_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::vector<ElementSlot>& slots = host.instance(i).elements();
      memo_[i].resize(slots.size());
      if (!json_) name_lines(i, host.instance(i).name());
      // Room for the longest line each element can have (a text's every
      // character escaped), so a run does not allocate as its texts grow.
      for (std::size_t k = 0; k < slots.size(); ++k) {
        const ElementHeader* e = slots[k].element;
        const std::size_t chars =
            e->kind == kText ? std::min<std::size_t>(reinterpret_cast<const TextElement*>(e)->max_chars, 1024)
                             : 0;
        ElementMemo& memo = memo_[i][k];
        memo.text.make_room(chars);
        memo.line.make_room(kLineRoom + kEscapeChars * chars);
      }
    }
  }

  void header() {
    const Module& module = host_.module();
    if (json_) {
      out_ << R"({"type":"trace","version":1})";
      out_.end_line();
      out_ << R"({"type":"module","name":)";
      out_.json_string(module.name()) << R"(,"gauges":)" << module.gauges().size() << '}';
      out_.end_line();
    } else {
      out_ << "orvane-panel trace 1";
      out_.end_line();
      out_ << "module " << module.name() << " gauges " << module.gauges().size();
      out_.end_line();
    }
    for (const PanelWindow& w : host_.windows()) {
      if (json_) {
        out_ << R"({"type":"panel_window","window":)" << w.number << R"(,"title":)";
        out_.json_string(w.title) << R"(,"open":)";
        out_.json_bool(w.visible) << '}';
      } else {
        out_ << "window " << w.number << " \"";
        out_.escaped(w.title.c_str()) << "\" " << (w.visible ? "open" : "closed");
      }
      out_.end_line();
    }
    for (std::size_t i = 0; i < host_.instances().size(); ++i) {
      const PlacedInstance& p = host_.instances()[i];
      if (json_) {
        out_ << R"({"type":"instance","instance":)" << i << R"(,"gauge":)";
        out_.json_string(p.gauge->name())
            << R"(,"window":)" << p.window << R"(,"x":)" << p.x << R"(,"y":)" << p.y << R"(,"width":)"
            << p.width << R"(,"height":)" << p.height << R"(,"params":)";
        out_.json_string(p.gauge->parameters()) << '}';
      } else {
        out_ << "instance " << i << ' ' << p.gauge->name() << " window " << p.window << " at " << p.x << ','
             << p.y << " size " << p.width << 'x' << p.height << " params \"";
        out_.escaped(p.gauge->parameters().c_str()) << '"';
      }
      out_.end_line();
    }
  }

  // "setup", "shutdown", "end".
  void marker(const char* name) {
    if (json_) {
      out_ << R"({"type":")" << name << R"("})";
    } else {
      out_ << name;
    }
    out_.end_line();
  }

  void frame_line(int frame, double t) {
    frame_ = frame;
    if (json_) {
      out_ << R"({"type":"frame","frame":)" << frame << R"(,"t":)";
      out_.json_number(t) << '}';
    } else {
      out_ << "frame " << frame << " t=";
      out_.number(t);
    }
    out_.end_line();
  }

  void finish() { out_.finish(); }

  // The phase's frame number in JSON objects: -1 during set-up, the number of
  // frames run during shutdown.
  void set_frame(std::int64_t frame) { frame_ = frame; }

  // Key events, window changes and sounds logged since the last call; the
  // logs are emptied, so that they do not grow over a long run.
  void state_changes() {
    SimState& state = host_.state();
    for (const KeyEventRecord& e : state.key_events()) {
      const char* name = event_name(e.event);
      if (json_) {
        begin_object("event") << R"(,"event":)" << e.event << R"(,"name":)";
        out_.json_name(name) << R"(,"value":)" << e.value << '}';
      } else {
        out_ << "  event " << e.event << ' ' << e.value;
        if (name != nullptr) out_ << ' ' << name;
      }
      out_.end_line();
      radio_tokens(e.event);
    }
    for (const WindowChange& w : state.window_changes()) {
      if (json_) {
        begin_object("window") << R"(,"window":)" << w.window << R"(,"open":)";
        out_.json_bool(w.open) << '}';
      } else {
        out_ << "  window " << w.window << (w.open ? " open" : " closed");
      }
      out_.end_line();
    }
    for (const SoundPlay& s : host_.sounds()) {
      const char* gauge =
          s.instance >= 0 ? host_.instance(static_cast<std::size_t>(s.instance)).name() : nullptr;
      if (json_) {
        begin_object("sound") << R"(,"instance":)";
        if (s.instance >= 0) {
          out_ << s.instance;
        } else {
          out_ << "null";
        }
        out_ << R"(,"gauge":)";
        out_.json_name(gauge) << R"(,"channel":)" << s.channel << R"(,"resource":)" << s.resource
                              << R"(,"bytes":)" << s.bytes << '}';
      } else {
        out_ << "  sound ";
        if (s.instance >= 0) {
          out_ << s.instance << ' ' << gauge;
        } else {
          out_ << "- -";
        }
        out_ << " channel " << s.channel << " resource " << s.resource << " bytes " << s.bytes;
      }
      out_.end_line();
    }
    state.clear_logs();
    host_.clear_sounds();
  }

  void clicks(const std::vector<ClickRecord>& records) {
    for (const ClickRecord& r : records) {
      const ScenarioClick& c = *r.click;
      if (begin_aimed("click", c.target, r.index)) continue;
      const char* gauge = host_.instance(*r.index).name();
      const char* event = r.result.event != 0 ? event_name(r.result.event) : nullptr;
      if (json_) {
        out_ << R"(,"instance":)" << *r.index << R"(,"gauge":)";
        out_.json_string(gauge) << R"(,"x":)" << r.result.at.x << R"(,"y":)" << r.result.at.y
                                << R"(,"button":")" << button_name(c.button) << R"(","box":)";
        if (r.result.rect < 0) {
          out_ << "null";
        } else {
          out_ << r.result.rect;
        }
        out_ << R"(,"event":)";
        if (r.result.event != 0) {
          out_ << r.result.event;
        } else {
          out_ << "null";
        }
        out_ << R"(,"event_name":)";
        out_.json_name(event) << R"(,"callback":)";
        out_.json_bool(r.result.called) << '}';
      } else {
        out_ << *r.index << ' ' << gauge << ' ' << r.result.at.x << ',' << r.result.at.y << ' '
             << button_name(c.button);
        if (r.result.rect < 0) {
          out_ << " none";
        } else {
          out_ << " box " << r.result.rect;
          if (r.result.event != 0) {
            out_ << " event " << r.result.event;
            if (event != nullptr) out_ << ' ' << event;
          }
          if (r.result.called) out_ << " callback";
        }
      }
      out_.end_line();
    }
  }

  void tooltips(const std::vector<TooltipRecord>& records) {
    for (const TooltipRecord& r : records) {
      const ScenarioTooltip& t = *r.tooltip;
      if (begin_aimed("tooltip", t.target, r.index)) continue;
      const char* gauge = host_.instance(*r.index).name();
      if (json_) {
        out_ << R"(,"instance":)" << *r.index << R"(,"gauge":)";
        out_.json_string(gauge) << R"(,"x":)" << r.result.at.x << R"(,"y":)" << r.result.at.y << R"(,"box":)";
        if (r.result.rect < 0) {
          out_ << R"(null,"text":null})";
        } else {
          out_ << r.result.rect << R"(,"text":)";
          out_.json_string(r.result.text) << '}';
        }
      } else {
        out_ << *r.index << ' ' << gauge << ' ' << r.result.at.x << ',' << r.result.at.y;
        if (r.result.rect < 0) {
          out_ << " none";
        } else {
          out_ << " \"";
          out_.escaped(r.result.text.c_str()) << '"';
        }
      }
      out_.end_line();
    }
  }

  void elements() {
    const SimState& state = host_.state();
    std::vector<PlacedInstance>& instances = host_.instances();
    for (std::size_t i = 0; i < instances.size(); ++i) {
      if (!state.window_open(instances[i].window)) continue;  // Host::shown
      GaugeInstance& g = *instances[i].gauge;
      if (!json_ && g.name() != names_[i]) name_lines(i, g.name());
      // Walked by pointer, slots and memos side by side (the memos were
      // sized to the instance's elements, whose number never changes).
      const ElementSlot* const first = g.elements().data();
      const ElementSlot* const end = first + g.elements().size();
      ElementMemo* memo = memo_[i].data();
      for (const ElementSlot* slot = first; slot != end; ++slot, ++memo) {
        if (!slot->values.evaluated) continue;
        if (!remember(*slot, *memo) && !full_) continue;
        if (json_) {
          json_element(i, static_cast<std::size_t>(slot - first), g.name(), *slot);
        } else {
          out_.line(memo->line.view());
        }
      }
    }
  }

 private:
  Writer& begin_object(const char* type) {
    return out_ << R"({"type":")" << type << R"(","frame":)" << frame_;
  }

  // Starts the line of a click or tooltip aimed at `target`; when it names
  // no instance (`index` empty), writes the whole line and returns true.
  bool begin_aimed(const char* type, const GaugeRef& target, const std::optional<std::size_t>& index) {
    if (json_) {
      begin_object(type);
    } else {
      out_ << "  " << type << ' ';
    }
    if (index) return false;
    if (json_) {
      out_ << R"(,"target":)";
      out_.json_string(target.describe()) << R"(,"missing":true})";
    } else {
      out_ << target.describe() << " missing";
    }
    out_.end_line();
    return true;
  }

  // Starts every element line of instance `i` (text format) with the
  // element's identifier, "  element 3.1 Gauge ".
  void name_lines(std::size_t i, const char* gauge) {
    names_[i] = gauge;
    std::vector<ElementMemo>& memos = memo_[i];
    for (std::size_t k = 0; k < memos.size(); ++k) {
      ByteBuffer& line = memos[k].line;
      const std::string state(line.view().substr(memos[k].state_at));
      const std::string id = "  element " + std::to_string(i) + '.' + std::to_string(k) + ' ' + gauge + ' ';
      line.clear();
      line.append(id);
      line.append(state);
      memos[k].state_at = id.size();
    }
  }

  KindFormat kind_format(u32 kind) const { return kind < kinds_.size() ? kinds_[kind] : describe_kind(kind); }

  // Takes the element's present state into its memo; true when the state as
  // written differs from the last one written (or none was). The raw state
  // is compared first, all fields at once; only an element whose raw state
  // moved is formatted, into a buffer that is kept from frame to frame.
  bool remember(const ElementSlot& slot, ElementMemo& memo) {
    const RawState now = raw_state(slot);
    const RawState& last = memo.raw;
    const bool same_raw =
        ((now.bits[0] ^ last.bits[0]) | (now.bits[1] ^ last.bits[1]) | (now.bits[2] ^ last.bits[2]) |
         (now.kind_bitmap ^ last.kind_bitmap) | (now.hidden ^ last.hidden)) == 0;
    const ElementHeader* e = slot.element;
    if (same_raw && (e->kind != kText || same_text(memo.text, element_text(e)))) return false;
    return restate(slot, memo);
  }

  static RawState raw_state(const ElementSlot& slot) {
    const double* channel = slot.values.channel;
    return {{std::bit_cast<std::uint64_t>(channel[0]), std::bit_cast<std::uint64_t>(channel[1]),
             std::bit_cast<std::uint64_t>(channel[2])},
            kind_and_bitmap(slot.element),
            slot.element->flags & kHiddenFlag};
  }

  // The rest of remember() for an element whose raw state moved: formats
  // it, and keeps it when it prints differently. Out of line, so that the
  // loop over the unchanged elements keeps its registers.
  [[gnu::noinline]] bool restate(const ElementSlot& slot, ElementMemo& memo) {
    const ElementHeader* e = slot.element;
    const RawState now = raw_state(slot);
    const bool first = memo.raw.hidden == RawState::kUnseen;
    memo.raw = now;
    const bool text_kind = e->kind == kText;
    const char* text = text_kind ? element_text(e) : "";
    const std::size_t text_size = text_kind ? std::strlen(text) : 0;
    if (text_kind) {
      memo.text.clear();
      memo.text.append(text, text_size);
    }

    // Raw values that differ may still print alike (digits past the sixth).
    const std::string_view state = format_state(e, slot.values.channel, now.hidden != 0, text, text_size);
    if (!first && state == memo.line.view().substr(memo.state_at)) return false;
    memo.line.truncate(memo.state_at);
    memo.line.append(state);
    return true;
  }

  // The state an element line shows after the element's identifier
  // ("needle v=20 bmp=20 shown"), formatted into line_.
  std::string_view format_state(const ElementHeader* e, const double* channel, bool hidden, const char* text,
                                std::size_t text_size) {
    const KindFormat kind = kind_format(e->kind);
    line_.clear();
    char* const start = line_.reserve(kLineRoom + kEscapeChars * text_size);
    char* o = copy(start, kind.name);
    for (int c = 0; c < kind.channels; ++c) {
      if (c == 0) {
        o = copy(o, " v=");
      } else {
        *o++ = ',';
      }
      o = numbers_.put(o, channel[c]);
    }
    if (e->kind != kText) {
      o = copy(o, " bmp=");
      o = std::to_chars(o, o + 10, e->bitmap).ptr;
    }
    o = copy(o, hidden ? std::string_view(" hidden") : std::string_view(" shown"));
    if (e->kind == kText) {
      o = copy(o, " text=\"");
      o = put_escaped(o, text);
      *o++ = '"';
    }
    return {start, static_cast<std::size_t>(o - start)};
  }

  // Whether the stored text is `text`, without measuring `text` first.
  static bool same_text(const ByteBuffer& stored, const char* text) {
    const char* a = stored.data();
    const char* const end = a + stored.size();
    for (; a != end; ++a, ++text)
      if (*a != *text) return false;
    return *text == '\0';
  }

  void json_element(std::size_t instance, std::size_t index, const char* gauge, const ElementSlot& slot) {
    const ElementHeader* e = slot.element;
    begin_object("element") << R"(,"instance":)" << instance << R"(,"element":)" << index << R"(,"gauge":)";
    out_.json_string(gauge) << R"(,"kind":")" << element_kind_name(e->kind) << R"(","values":[)";
    const int n = kind_format(e->kind).channels;
    for (int c = 0; c < n; ++c) {
      if (c > 0) out_ << ',';
      out_.json_number(slot.values.channel[c]);
    }
    out_ << ']';
    if (e->kind != kText) out_ << R"(,"bitmap":)" << e->bitmap;
    out_ << R"(,"shown":)";
    out_.json_bool((e->flags & kHiddenFlag) == 0);
    if (e->kind == kText) {
      out_ << R"(,"text":)";
      out_.json_string(element_text(e));
    }
    out_ << '}';
    out_.end_line();
  }

  // The tokens a radio event changed, with their values as they stand now.
  void radio_tokens(std::uint32_t event) {
    for (std::uint32_t id : radio_event_tokens(event)) {
      if (id == 0) continue;
      const SimValue* v = host_.state().token(id);
      const char* name = token_name(id);
      const bool integer = v != nullptr && v->kind == SimValue::Kind::integer;
      char hex[16] = "0x";
      char* hex_end = hex + 2;
      if (integer) {
        char digits[12];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v->integer, 16);
        const auto count = static_cast<std::size_t>((ec == std::errc() ? end : digits) - digits);
        for (std::size_t pad = count; pad < 4; ++pad) *hex_end++ = '0';
        std::memcpy(hex_end, digits, count);
        hex_end += count;
      }
      const std::string_view hex_text(hex, static_cast<std::size_t>(hex_end - hex));
      if (json_) {
        begin_object("token") << R"(,"token":)" << id << R"(,"name":)";
        out_.json_name(name) << R"(,"value":)";
        if (integer) {
          out_ << v->integer << R"(,"hex":")" << hex_text << '"';
        } else {
          out_.json_number(v != nullptr ? v->as_double() : 0.0);
        }
        out_ << '}';
      } else {
        out_ << "    token " << id << ' ' << (name != nullptr ? name : "?") << ' ';
        if (integer) {
          out_ << hex_text;
        } else {
          out_.number(v != nullptr ? v->as_double() : 0.0);
        }
      }
      out_.end_line();
    }
  }

  Host& host_;
  Writer out_;
  bool full_;
  bool json_;
  std::int64_t frame_ = kSetupFrame;
  std::vector<std::vector<ElementMemo>> memo_;
  std::vector<const char*> names_;  // each instance's gauge name in its element lines
  std::array<KindFormat, 8> kinds_;
  NumberCache numbers_;
  ByteBuffer line_{kLineRoom + kEscapeChars * 1024};  // an element's state being formatted
};

}  // namespace

struct TraceRecorder::State {
  State(Host& host, const Scenario& scenario, const TraceOptions& options, TraceOutput& out)
      : host(host), scenario_run(host, scenario, options.sets, options.clicks), run(host, out, options) {
    tooltips = scenario.tooltips;
    tooltips.insert(tooltips.end(), options.tooltips.begin(), options.tooltips.end());
    std::stable_sort(tooltips.begin(), tooltips.end(),
                     [](const auto& a, const auto& b) { return a.t < b.t; });
  }
  Host& host;
  ScenarioRun scenario_run;
  TraceRun run;
  std::vector<ScenarioTooltip> tooltips;
  std::size_t next_tooltip = 0;
  int frame = 0;
  std::vector<ClickRecord> clicks;
  std::vector<TooltipRecord> tips;
};

TraceRecorder::TraceRecorder(Host& host, const Scenario& scenario, const TraceOptions& options,
                             TraceOutput& out)
    : state_(std::make_unique<State>(host, scenario, options, out)) {}

TraceRecorder::~TraceRecorder() = default;

void TraceRecorder::start() {
  State& s = *state_;
  s.scenario_run.apply_initial();
  s.run.header();
  s.run.marker("setup");
  s.host.start();
  s.run.state_changes();
}

void TraceRecorder::frame() {
  State& s = *state_;
  s.clicks.clear();
  s.tips.clear();
  const double t = s.scenario_run.step([&s](const ScenarioClick& c, auto index, const ClickResult& r) {
    s.clicks.push_back({&c, index, r});
  });
  s.run.frame_line(s.frame, t);
  s.run.clicks(s.clicks);
  while (s.next_tooltip < s.tooltips.size() && s.scenario_run.due(s.tooltips[s.next_tooltip].t)) {
    const ScenarioTooltip& tip = s.tooltips[s.next_tooltip++];
    const std::optional<std::size_t> index = tip.target.resolve(s.host);
    s.tips.push_back({&tip, index, index ? s.host.tooltip(*index, tip.point()) : TooltipResult{}});
  }
  s.run.state_changes();
  s.run.elements();
  s.run.tooltips(s.tips);
  ++s.frame;
}

void TraceRecorder::finish() {
  State& s = *state_;
  s.run.set_frame(s.frame);
  s.run.marker("shutdown");
  s.host.stop();
  s.run.state_changes();
  s.run.marker("end");
  s.run.finish();
}

void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, TraceOutput& out) {
  TraceRecorder trace(host, scenario, options, out);
  trace.start();
  for (int f = 0; f < options.frames; ++f) trace.frame();
  trace.finish();
}

void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, std::ostream& out) {
  StreamTraceOutput output(out);
  run_trace(host, scenario, options, output);
}

}  // namespace orv::host
