#include "gif_writer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "frame_delta.h"

namespace orv::panel_tool {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // no 24-bit colour, no LZW key
constexpr int kMaxCodes = 4096;                // 12-bit codes
constexpr int kStringSlotBits = 13;            // twice the codes: short probes

std::uint32_t spread(std::uint32_t key, int bits) { return (key * 0x9E3779B1u) >> (32 - bits); }

void put16(std::vector<unsigned char>& out, int v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

// Codes packed least significant bit first into data sub-blocks of at most
// 255 bytes, each after its length, ended by an empty one.
class CodeStream {
 public:
  explicit CodeStream(std::vector<unsigned char>& out) : out_(out) {}
  void put(int code, int width) {
    bits_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += width;
    for (; count_ >= 8; count_ -= 8, bits_ >>= 8) byte(static_cast<unsigned char>(bits_ & 0xFF));
  }
  void finish() {
    if (count_ > 0) byte(static_cast<unsigned char>(bits_ & 0xFF));
    if (length_ > 0) block();
    out_.push_back(0);
  }

 private:
  void byte(unsigned char b) {
    block_[length_++] = b;
    if (length_ == block_.size()) block();
  }
  void block() {
    out_.push_back(static_cast<unsigned char>(length_));
    out_.insert(out_.end(), block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(length_));
    length_ = 0;
  }
  std::vector<unsigned char>& out_;
  std::uint32_t bits_ = 0;
  int count_ = 0;
  std::array<unsigned char, 255> block_{};
  std::size_t length_ = 0;
};

// How many of `count` bytes from `p` on equal `b`.
std::size_t run_of(const std::uint8_t* p, std::size_t count, std::uint8_t b) {
  const std::uint64_t pattern = 0x0101010101010101ull * b;
  std::size_t n = 0;
  for (; n + 8 <= count; n += 8) {
    std::uint64_t w = 0;
    std::memcpy(&w, p + n, 8);
    if (w != pattern) return n + static_cast<std::size_t>(__builtin_ctzll(w ^ pattern) / 8);
  }
  while (n < count && p[n] == b) ++n;
  return n;
}

// Whether four pixels from `a` and `b` on are the same words.
bool same_four(const std::uint32_t* a, const std::uint32_t* b) {
  std::uint64_t x[2], y[2];
  std::memcpy(x, a, 16);
  std::memcpy(y, b, 16);
  return ((x[0] ^ y[0]) | (x[1] ^ y[1])) == 0;
}

int channel(std::uint32_t colour, int c) { return static_cast<int>((colour >> (16 - 8 * c)) & 0xFF); }

}  // namespace

void GifWriter::begin(std::vector<unsigned char>& out, int width, int height) {
  const char* const signature = "GIF89a";
  out.insert(out.end(), signature, signature + 6);
  put16(out, width);
  put16(out, height);
  // No global colour table (every frame brings its own), 8 bits per primary.
  out.insert(out.end(), {0x70, 0, 0});
  // NETSCAPE2.0: repeat 0 times more than forever.
  const char* const application = "NETSCAPE2.0";
  out.insert(out.end(), {0x21, 0xFF, 11});
  out.insert(out.end(), application, application + 11);
  out.insert(out.end(), {3, 1, 0, 0, 0});
}

void GifWriter::frame(std::vector<unsigned char>& out, const std::uint32_t* pixels, int width, int height,
                      int delay_cs) {
  const bool whole = width != previous_width_ || height != previous_height_;
  // A whole frame (the first) is stored without loss: what it shows of the
  // screen's still parts stays for the whole animation, where the loss's
  // streaks on gradients would show in every frame; in the built-in
  // flight it even makes the file smaller (9.50 MB instead of 9.52).
  frame_loss_ = whole ? 0 : loss_;
  const FrameRect changed =
      whole ? FrameRect{0, 0, width, height} : changed_rect(pixels, previous_.data(), width, height);
  const auto w = static_cast<std::size_t>(width);
  const FrameRect r = changed.empty() ? changed : take_region(pixels, width, changed, whole);
  // Nothing to store: one pixel, transparent.
  if (r.empty()) region_.assign(1, kHole);
  // The frame as it is now (the pixels as given: their top bytes are
  // ignored in every comparison).
  if (whole) {
    previous_.resize(w * static_cast<std::size_t>(height));
    previous_width_ = width;
    previous_height_ = height;
    if (loss_ > 0) shown_.resize(previous_.size());
  }
  for (int y = changed.y; y < changed.y + changed.height; ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * w + static_cast<std::size_t>(changed.x);
    std::memcpy(&previous_[at], pixels + at, static_cast<std::size_t>(changed.width) * 4);
  }
  quantize(region_.data(), region_.size());
  // The table holds 2^bits entries, at least two; LZW codes start one bit
  // wider than the indices, which are at least 2 bits.
  int bits = 1;
  while ((std::size_t{1} << bits) < palette_.size()) ++bits;

  // Graphic control: no disposal (the next frame is drawn over this one),
  // the transparent entry if any, the delay.
  out.insert(out.end(), {0x21, 0xF9, 4, static_cast<unsigned char>(0x04 | (transparent_ >= 0 ? 1 : 0))});
  put16(out, delay_cs);
  out.insert(out.end(), {static_cast<unsigned char>(std::max(0, transparent_)), 0});
  // The image at its place on the screen, with its local colour table.
  out.push_back(0x2C);
  put16(out, r.x);
  put16(out, r.y);
  put16(out, std::max(1, r.width));
  put16(out, std::max(1, r.height));
  out.push_back(static_cast<unsigned char>(0x80 | (bits - 1)));
  for (std::size_t k = 0; k < (std::size_t{1} << bits); ++k) {
    const std::uint32_t c = k < palette_.size() ? palette_[k] : 0;
    out.insert(out.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                           static_cast<unsigned char>(c)});
  }
  const int min_code_size = std::max(2, bits);
  out.push_back(static_cast<unsigned char>(min_code_size));
  if (frame_loss_ > 0)
    compress_lossy(out, min_code_size);
  else
    compress(out, min_code_size);
  // What a decoder shows now: the entries of the indices stored (lossy
  // compression chose them, not always the nearest).
  if (loss_ > 0) {
    for (int y = 0; y < r.height; ++y) {
      const std::uint8_t* index = &indices_[static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width)];
      std::uint32_t* into = &shown_[static_cast<std::size_t>(r.y + y) * w + static_cast<std::size_t>(r.x)];
      const auto rw = static_cast<std::size_t>(r.width);
      for (std::size_t x = 0; x < rw; ++x) {
        if (index[x] == transparent_) {
          x += run_of(index + x, rw - x, index[x]) - 1;
          continue;
        }
        into[x] = palette_[index[x]];
      }
    }
  }
}

FrameRect GifWriter::take_region(const std::uint32_t* pixels, int width, FrameRect r, bool whole) {
  const auto w = static_cast<std::size_t>(width);
  const auto rw = static_cast<std::size_t>(r.width);
  const std::size_t n = rw * static_cast<std::size_t>(r.height);
  const bool lossy = frame_loss_ > 0;
  region_.resize(n);
  // The rectangle of the pixels that must be stored (lossy: not those whose
  // picture shown is near their colour): its rows and columns in `r`.
  std::size_t top = n, bottom = 0, left = rw, right = 0;
  for (std::size_t y = 0; y < static_cast<std::size_t>(r.height); ++y) {
    const std::size_t at = (static_cast<std::size_t>(r.y) + y) * w + static_cast<std::size_t>(r.x);
    const std::uint32_t* row = pixels + at;
    std::uint32_t* into = &region_[y * rw];
    if (whole) {
      for (std::size_t x = 0; x < rw; ++x) into[x] = row[x] & 0xFFFFFFu;
      continue;
    }
    const std::uint32_t* before = &previous_[at];
    if (!lossy) {
      for (std::size_t x = 0; x < rw; ++x) {
        const std::uint32_t c = row[x] & 0xFFFFFFu;
        into[x] = ((before[x] ^ c) & 0xFFFFFFu) == 0 ? kHole : c;
      }
      continue;
    }
    // Lossy: a hole keeps its colour beside the mark, for compress_lossy.
    const std::uint32_t* shown = &shown_[at];
    std::size_t first = rw, last = 0;
    for (std::size_t x = 0; x < rw; ++x) into[x] = (row[x] & 0xFFFFFFu) | kHole;
    for (std::size_t x = 0; x < rw; ++x) {
      // Unchanged pixels (most of them) four at a time.
      if (x + 4 <= rw && same_four(row + x, before + x)) {
        x += 3;
        continue;
      }
      const std::uint32_t c = row[x] & 0xFFFFFFu;
      if (((before[x] ^ c) & 0xFFFFFFu) == 0 || near(shown[x], c)) continue;
      into[x] = c;
      first = std::min(first, x);
      last = x + 1;
    }
    if (first == rw) continue;
    top = std::min(top, y);
    bottom = y + 1;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  if (!lossy || whole) return r;
  if (top >= bottom) return {};
  // The rows of the smaller rectangle moved to the front.
  const std::size_t sw = right - left;
  if (sw < rw || top > 0)
    for (std::size_t y = top; y < bottom; ++y)
      std::memmove(&region_[(y - top) * sw], &region_[y * rw + left], sw * 4);
  region_.resize(sw * (bottom - top));
  return {r.x + static_cast<int>(left), r.y + static_cast<int>(top), static_cast<int>(sw),
          static_cast<int>(bottom - top)};
}

std::size_t GifWriter::position_of(std::uint32_t colour) {
  const std::uint32_t mask = (1u << slot_bits_) - 1;
  for (std::uint32_t s = spread(colour, slot_bits_);; s = (s + 1) & mask) {
    if (slots_[s] == kEmpty) {
      slots_[s] = static_cast<std::uint32_t>(colours_.size());
      colours_.push_back(colour);
      counts_.push_back(0);
      if (colours_.size() * 2 > slots_.size()) grow();
      return colours_.size() - 1;
    }
    if (colours_[slots_[s]] == colour) return slots_[s];
  }
}

void GifWriter::grow() {
  ++slot_bits_;
  slots_.assign(std::size_t{1} << slot_bits_, kEmpty);
  const std::uint32_t mask = (1u << slot_bits_) - 1;
  for (std::uint32_t i = 0; i < colours_.size(); ++i) {
    std::uint32_t s = spread(colours_[i], slot_bits_);
    while (slots_[s] != kEmpty) s = (s + 1) & mask;
    slots_[s] = i;
  }
}

void GifWriter::quantize(const std::uint32_t* pixels, std::size_t count) {
  colours_.clear();
  counts_.clear();
  slot_bits_ = 10;
  slots_.assign(std::size_t{1} << slot_bits_, kEmpty);
  indices_.resize(count);
  // Pictures have long runs of one colour: a run costs one look-up.
  std::uint32_t last = kEmpty;
  std::size_t at = 0;
  bool holes = false;
  stored_.clear();
  for (std::size_t i = 0; i < count; ++i) {
    // Holes (most pixels of a later frame) four at a time.
    if (i + 4 <= count && (pixels[i] & pixels[i + 1] & pixels[i + 2] & pixels[i + 3] & kHole) != 0) {
      holes = true;
      i += 3;
      continue;
    }
    const std::uint32_t c = pixels[i];
    if ((c & kHole) != 0) {
      holes = true;
      continue;
    }
    stored_.push_back(static_cast<std::uint32_t>(i));
    if (c != last) {
      last = c;
      at = position_of(c);
    }
    ++counts_[at];
  }
  const std::size_t entries = holes ? 255 : 256;
  if (colours_.size() <= entries && (frame_loss_ == 0 || colours_.size() <= 1)) {
    palette_ = colours_;
    index_of_.resize(colours_.size());
    for (std::size_t k = 0; k < colours_.size(); ++k) index_of_[k] = static_cast<std::uint8_t>(k);
  } else {
    median_cut(entries);
  }
  transparent_ = -1;
  if (holes) {
    transparent_ = static_cast<int>(palette_.size());
    palette_.push_back(0);
  }
  last = kEmpty;
  std::uint8_t index = 0;
  if (holes) std::fill(indices_.begin(), indices_.end(), static_cast<std::uint8_t>(transparent_));
  for (const std::uint32_t i : stored_) {
    const std::uint32_t c = pixels[i];
    if (c != last) {
      last = c;
      index = index_of_[position_of(c)];
    }
    indices_[i] = index;
  }
}

// Median cut: boxes of colours split until there are `most`, always the box
// with the widest range in one primary, in the middle of that range, so that
// rare colours far from the rest (a warning light) get an entry of their
// own. (Splitting at the pixel-weighted median instead leaves the
// anti-aliased edges of a cockpit picture several times farther from their
// colours.) Each palette entry is the mean of its box's pixels, and each
// colour then takes the entry nearest to it. Lossy, a box whose widest range
// is within the loss is not split (its mean is within the loss of each of
// its colours, which keep it), and there may be fewer boxes.
void GifWriter::median_cut(std::size_t most) {
  struct Entry {
    std::uint32_t colour, count, position;
  };
  std::vector<Entry> entries(colours_.size());
  for (std::uint32_t i = 0; i < colours_.size(); ++i) entries[i] = {colours_[i], counts_[i], i};
  struct Box {
    std::size_t begin, end;
    std::uint64_t pixels = 0;
    int widest = 0, range = 0, middle = 0;
  };
  auto measure = [&](Box& box) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    box.pixels = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
      box.pixels += entries[i].count;
      for (int c = 0; c < 3; ++c) {
        lo[c] = std::min(lo[c], channel(entries[i].colour, c));
        hi[c] = std::max(hi[c], channel(entries[i].colour, c));
      }
    }
    box.range = -1;
    for (int c = 0; c < 3; ++c)
      if (hi[c] - lo[c] > box.range) box.range = hi[c] - lo[c], box.widest = c;
    box.middle = (lo[box.widest] + hi[box.widest]) / 2;
  };
  std::vector<Box> boxes;
  boxes.reserve(most);
  boxes.push_back({0, entries.size()});
  measure(boxes[0]);
  while (boxes.size() < most) {
    std::size_t pick = boxes.size();
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2 || boxes[b].range <= frame_loss_) continue;
      if (pick == boxes.size() || boxes[b].range > boxes[pick].range ||
          (boxes[b].range == boxes[pick].range && boxes[b].pixels > boxes[pick].pixels))
        pick = b;
    }
    if (pick == boxes.size()) break;
    Box& box = boxes[pick];
    // The colours up to the middle of the widest range go first (the box
    // holds distinct colours, so its widest range is not empty and both
    // halves get some). Which colours a box holds does not depend on their
    // order, nor does anything made of it below.
    const int c = box.widest, middle = box.middle;
    const auto first = entries.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = entries.begin() + static_cast<std::ptrdiff_t>(box.end);
    const auto upper_half =
        std::partition(first, last, [c, middle](const Entry& e) { return channel(e.colour, c) <= middle; });
    const auto split = box.begin + static_cast<std::size_t>(upper_half - first);
    Box upper{split, box.end};
    box.end = split;
    measure(box);
    measure(upper);
    boxes.push_back(upper);
  }
  palette_.clear();
  index_of_.resize(colours_.size());
  for (const Box& box : boxes) {
    std::uint64_t sum[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i) {
      for (int c = 0; c < 3; ++c) sum[c] += std::uint64_t{entries[i].count} * channel(entries[i].colour, c);
      index_of_[entries[i].position] = static_cast<std::uint8_t>(palette_.size());
    }
    std::uint32_t mean = 0;
    for (int c = 0; c < 3; ++c)
      mean = mean << 8 | static_cast<std::uint32_t>((sum[c] + box.pixels / 2) / box.pixels);
    palette_.push_back(mean);
  }
  // Nearest by squared distance (on a tie, its own box's entry), looked for
  // outwards from the colour's green in the palette ordered by green.
  std::vector<std::pair<int, std::uint8_t>> by_green(palette_.size());
  for (std::size_t k = 0; k < palette_.size(); ++k)
    by_green[k] = {channel(palette_[k], 1), static_cast<std::uint8_t>(k)};
  std::sort(by_green.begin(), by_green.end());
  for (const Entry& e : entries) {
    auto distance = [&](std::uint32_t p) {
      int d = 0;
      for (int c = 0; c < 3; ++c) {
        const int step = channel(p, c) - channel(e.colour, c);
        d += step * step;
      }
      return d;
    };
    std::uint8_t& best = index_of_[e.position];
    const std::uint8_t own = best;
    // Lossy: its own box's entry will do when it is near.
    if (frame_loss_ > 0 && near(palette_[own], e.colour)) continue;
    int best_distance = distance(palette_[best]);
    const int green = channel(e.colour, 1);
    const auto from =
        std::lower_bound(by_green.begin(), by_green.end(), std::make_pair(green, std::uint8_t{0}));
    auto consider = [&](const std::pair<int, std::uint8_t>& k) {
      if ((k.first - green) * (k.first - green) >= best_distance) return false;
      const int d = distance(palette_[k.second]);
      if (d < best_distance) best_distance = d, best = k.second;
      return true;
    };
    for (auto k = from; k != by_green.end() && consider(*k); ++k) {
    }
    for (auto k = from; k != by_green.begin() && consider(*(k - 1)); --k) {
    }
  }
}

// LZW as GIF has it: codes one bit wider than the indices to start with,
// growing by a bit whenever the next string's code no longer fits, up to 12
// bits; a clear code starts a fresh table when all 4096 codes are taken.
//
// Most of a frame is transparent, in long runs. The strings of the
// transparent index alone are the runs of 1 to run_top pixels (each made
// from the one before), so the longest one that matches a run is found by
// counting the run, not pixel by pixel; other strings that grow by the
// transparent index are looked up directly (extend_), the rest by hash.
void GifWriter::compress(std::vector<unsigned char>& out, int min_code_size) {
  const int clear = 1 << min_code_size, end_of_data = clear + 1;
  constexpr std::uint32_t mask = (1u << kStringSlotBits) - 1;
  string_keys_.resize(std::size_t{1} << kStringSlotBits);
  string_codes_.resize(string_keys_.size());
  // extend_[code]: the code of that string plus the transparent index,
  // valid when its top bits hold the table's present stamp.
  extend_.resize(kMaxCodes);
  runs_.resize(kMaxCodes + 1);
  const int fast = transparent_;
  int width = 0, next = 0, run_top = 0;
  auto restart = [&] {
    std::fill(string_keys_.begin(), string_keys_.end(), kEmpty);
    if (++stamp_ >= (1u << 20)) {
      std::fill(extend_.begin(), extend_.end(), 0u);
      stamp_ = 1;
    }
    width = min_code_size + 1;
    next = clear + 2;
    if (fast >= 0) runs_[1] = static_cast<std::uint16_t>(fast);
    run_top = 1;
  };
  // A code for a new string, if the table has room: `record` enters it.
  auto add = [&](auto&& record) {
    if (next < kMaxCodes) {
      if (next == 1 << width) ++width;
      record(static_cast<std::uint32_t>(next++));
      return true;
    }
    return false;
  };
  CodeStream codes(out);
  restart();
  codes.put(clear, width);
  if (indices_.empty()) {
    codes.put(end_of_data, width);
    codes.finish();
    return;
  }
  const std::size_t n = indices_.size();
  int prefix = indices_[0];
  int run = prefix == fast ? 1 : 0;  // the length of the run `prefix` stands for, or 0
  std::size_t run_end = 0;
  for (std::size_t i = 1; i < n; ++i) {
    if (indices_[i] == fast && run > 0) {
      // The run's end, counted once for all the strings it takes.
      if (i >= run_end) run_end = i + run_of(&indices_[i], n - i, indices_[i]);
      const std::size_t more = run_end - i;
      if (static_cast<std::size_t>(run) + more <= static_cast<std::size_t>(run_top)) {
        run += static_cast<int>(more);
        prefix = runs_[static_cast<std::size_t>(run)];
        i += more - 1;
        continue;
      }
      // The longest run in the table, then a new string one longer.
      i += static_cast<std::size_t>(run_top - run);
      prefix = runs_[static_cast<std::size_t>(run_top)];
      codes.put(prefix, width);
      if (!add([&](std::uint32_t code) {
            extend_[static_cast<std::size_t>(prefix)] = stamp_ << 12 | code;
            runs_[static_cast<std::size_t>(++run_top)] = static_cast<std::uint16_t>(code);
          })) {
        codes.put(clear, width);
        restart();
      }
      prefix = fast;
      run = 1;
      continue;
    }
    if (indices_[i] == fast) {
      std::uint32_t& extended = extend_[static_cast<std::size_t>(prefix)];
      if (extended >> 12 == stamp_) {
        prefix = static_cast<int>(extended & 0xFFF);
        continue;
      }
      codes.put(prefix, width);
      if (!add([&](std::uint32_t code) { extended = stamp_ << 12 | code; })) {
        codes.put(clear, width);
        restart();
      }
      prefix = fast;
      run = 1;
      continue;
    }
    run = 0;
    const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | indices_[i];
    std::uint32_t s = spread(key, kStringSlotBits);
    while (string_keys_[s] != kEmpty && string_keys_[s] != key) s = (s + 1) & mask;
    if (string_keys_[s] == key) {
      prefix = string_codes_[s];
      continue;
    }
    codes.put(prefix, width);
    if (!add([&](std::uint32_t code) {
          string_keys_[s] = key;
          string_codes_[s] = static_cast<std::uint16_t>(code);
        })) {
      codes.put(clear, width);
      restart();
    }
    prefix = indices_[i];
  }
  codes.put(prefix, width);
  // A decoder takes the last code's string into its table and widens its
  // codes as it would for the next string.
  if (next < kMaxCodes && next == 1 << width) ++width;
  codes.put(end_of_data, width);
  codes.finish();
}

// Lossy LZW: the longest string of the table whose indices the pixels from
// here on may take (each its own index, or an entry near its colour, or the
// transparent index where the picture shown is near), found by a search of
// the strings that follow the present one (its own index's first, so that
// without loss it is LZW's match), at most kSearch strings tried for each
// code; runs of transparent pixels are matched by counting as above.
// indices_ then holds the indices chosen.
void GifWriter::compress_lossy(std::vector<unsigned char>& out, int min_code_size) {
  constexpr int kSearch = 64;
  constexpr std::uint16_t kNone = 0;  // code 0 is never a longer string
  const int clear = 1 << min_code_size, end_of_data = clear + 1;
  suffix_.resize(kMaxCodes);
  parent_.resize(kMaxCodes);
  first_child_.resize(kMaxCodes);
  next_sibling_.resize(kMaxCodes);
  runs_.resize(kMaxCodes + 1);
  const int fast = transparent_;
  int width = 0, next = 0, run_top = 0;
  auto restart = [&] {
    width = min_code_size + 1;
    next = clear + 2;
    std::fill(first_child_.begin(), first_child_.begin() + clear, kNone);
    if (fast >= 0) runs_[1] = static_cast<std::uint16_t>(fast);
    run_top = 1;
  };
  // A code for `prefix` + `index` if the table has room.
  auto add = [&](int prefix, int index) {
    if (next >= kMaxCodes) return -1;
    if (next == 1 << width) ++width;
    const auto code = static_cast<std::uint16_t>(next++);
    suffix_[code] = static_cast<std::uint8_t>(index);
    parent_[code] = static_cast<std::uint16_t>(prefix);
    first_child_[code] = kNone;
    next_sibling_[code] = first_child_[static_cast<std::size_t>(prefix)];
    first_child_[static_cast<std::size_t>(prefix)] = code;
    return static_cast<int>(code);
  };
  const std::size_t n = indices_.size();
  auto takes = [&](int index, std::size_t at) {
    return index == indices_[at] ||
           (index != fast && near(palette_[static_cast<std::size_t>(index)], region_[at]));
  };
  CodeStream codes(out);
  restart();
  codes.put(clear, width);
  std::vector<SearchStep>& stack = search_;
  std::size_t i = 0, run_end = 0;
  while (i < n) {
    int code = indices_[i];
    std::size_t end = i + 1;
    if (code == fast) {
      // The run's end, counted once for all the strings it takes.
      if (i >= run_end) run_end = i + run_of(&indices_[i], n - i, indices_[i]);
      const std::size_t run = run_end - i;
      if (run > static_cast<std::size_t>(run_top)) {
        // The longest run in the table, then one longer.
        codes.put(runs_[static_cast<std::size_t>(run_top)], width);
        i += static_cast<std::size_t>(run_top);
        const int added = add(runs_[static_cast<std::size_t>(run_top)], fast);
        if (added < 0) {
          codes.put(clear, width);
          restart();
        } else {
          runs_[static_cast<std::size_t>(++run_top)] = static_cast<std::uint16_t>(added);
        }
        continue;
      }
      code = runs_[run];
      end = i + run;
    }
    // The deepest string from `code` on that the pixels take.
    int best = code;
    std::size_t best_end = end;
    stack.clear();
    stack.push_back({static_cast<std::uint16_t>(code), static_cast<std::uint32_t>(end)});
    int budget = kSearch;
    while (!stack.empty() && budget > 0) {
      const SearchStep s = stack.back();
      stack.pop_back();
      if (s.end >= n) continue;
      const std::size_t mark = stack.size();
      for (std::uint16_t c = first_child_[s.code]; c != kNone && budget > 0; c = next_sibling_[c], --budget) {
        if (!takes(suffix_[c], s.end)) continue;
        if (s.end + 1 > best_end) best = c, best_end = s.end + 1;
        stack.push_back({c, s.end + 1});
        // The pixel's own index is tried first.
        if (suffix_[c] == indices_[s.end]) std::swap(stack[mark], stack.back());
      }
      if (stack.size() > mark) std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(mark), stack.end());
    }
    for (std::size_t at = best_end, c = static_cast<std::size_t>(best); at > end; c = parent_[c])
      indices_[--at] = suffix_[c];
    i = best_end;
    codes.put(best, width);
    if (i < n && add(best, indices_[i]) < 0) {
      codes.put(clear, width);
      restart();
    }
  }
  // A decoder takes the last code's string into its table and widens its
  // codes as it would for the next string.
  if (next < kMaxCodes && next == 1 << width) ++width;
  codes.put(end_of_data, width);
  codes.finish();
}

}  // namespace orv::panel_tool
