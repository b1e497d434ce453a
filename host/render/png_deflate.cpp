#include "host/render/png_deflate.h"

#if defined(ORV_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#else
#include <zlib.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace orv::render {

namespace {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

constexpr int kLitLenSymbols = 286;  // literals, end of block (256), lengths (257 to 285)
constexpr int kDistSymbols = 30;
constexpr int kCodeLengthSymbols = 19;
constexpr int kEndOfBlock = 256;
constexpr int kMaxMatch = 258;
constexpr std::size_t kMaxDistance = 32768;
constexpr std::size_t kBlockTokens = std::size_t(1) << 15;

// A token of the stream: a literal byte (below 256), or a match of a length
// (3 to 258) at one of the picture's two distances (the pixel to the left,
// the row above).
constexpr u16 kMatch = 0x8000;
constexpr u16 kFromAbove = 0x4000;

struct Symbol {
  u16 symbol;
  u8 extra_bits;
  u16 extra;
};

// The length symbol of every match length.
const std::array<Symbol, kMaxMatch + 1>& length_symbols() {
  static const std::array<Symbol, kMaxMatch + 1> table = [] {
    static constexpr u16 kBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr u8 kExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    std::array<Symbol, kMaxMatch + 1> t{};
    int i = 0;
    for (int length = 3; length <= kMaxMatch; ++length) {
      while (i < 28 && kBase[i + 1] <= length) ++i;
      t[length] = {static_cast<u16>(257 + i), kExtra[i], static_cast<u16>(length - kBase[i])};
    }
    return t;
  }();
  return table;
}

Symbol distance_symbol(std::size_t distance) {
  static constexpr u16 kBase[kDistSymbols] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                              33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static constexpr u8 kExtra[kDistSymbols] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                              6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  int i = 0;
  while (i < kDistSymbols - 1 && kBase[i + 1] <= distance) ++i;
  return {static_cast<u16>(i), kExtra[i], static_cast<u16>(distance - kBase[i])};
}

// Bits into the output, least significant first.
class BitWriter {
 public:
  BitWriter(std::vector<u8>& out, std::size_t pos) : out_(out), pos_(pos) {}

  // Room for `bytes` more bytes.
  void reserve(std::size_t bytes) {
    if (pos_ + bytes + 8 > out_.size()) out_.resize(std::max(out_.size() * 2, pos_ + bytes + 8));
  }
  // `n` bits (at most 32) of `bits`.
  void put(u32 bits, int n) {
    buffer_ |= u64(bits) << count_;
    count_ += n;
    if (count_ >= 32) {
      const u32 word = static_cast<u32>(buffer_);
      const u8 b[4] = {u8(word), u8(word >> 8), u8(word >> 16), u8(word >> 24)};
      std::memcpy(out_.data() + pos_, b, 4);
      pos_ += 4;
      buffer_ >>= 32;
      count_ -= 32;
    }
  }
  // Pads to a whole byte and writes what is left.
  void align() {
    while (count_ > 0) {
      out_[pos_++] = static_cast<u8>(buffer_);
      buffer_ >>= 8;
      count_ -= 8;
    }
    count_ = 0;
    buffer_ = 0;
  }
  void bytes(const u8* data, std::size_t n) {
    std::memcpy(out_.data() + pos_, data, n);
    pos_ += n;
  }
  std::size_t pos() const { return pos_; }

 private:
  std::vector<u8>& out_;
  std::size_t pos_;
  u64 buffer_ = 0;
  int count_ = 0;
};

// Code lengths of a minimum-redundancy code for the weights `a[0..n)`,
// sorted in ascending order, in place: afterwards a[i] is the length of the
// code of the i-th weight (Moffat and Katajainen's method; n at least 2).
void minimum_redundancy(u32* a, int n) {
  a[0] += a[1];
  int root = 0, leaf = 2;
  for (int next = 1; next < n - 1; ++next) {
    if (leaf >= n || a[root] < a[leaf]) {
      a[next] = a[root];
      a[root++] = static_cast<u32>(next);
    } else {
      a[next] = a[leaf++];
    }
    if (leaf >= n || (root < next && a[root] < a[leaf])) {
      a[next] += a[root];
      a[root++] = static_cast<u32>(next);
    } else {
      a[next] += a[leaf++];
    }
  }
  a[n - 2] = 0;
  for (int next = n - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
  int available = 1, used = 0, depth = 0;
  root = n - 2;
  int next = n - 1;
  while (available > 0) {
    while (root >= 0 && static_cast<int>(a[root]) == depth) {
      ++used;
      --root;
    }
    while (available > used) {
      a[next--] = static_cast<u32>(depth);
      --available;
    }
    available = 2 * used;
    ++depth;
    used = 0;
  }
}

// A canonical Huffman code for `n` symbols of frequencies `freq`, no code
// longer than `max_bits`; symbols of frequency 0 get none. At least two
// symbols get a code, so that every code is complete.
struct Code {
  u8 lengths[kLitLenSymbols];
  u16 bits[kLitLenSymbols];  // bit-reversed, to be written least significant first
};

void build_code(u32* freq, int n, int max_bits, Code& code) {
  int used = 0;
  for (int s = 0; s < n; ++s) used += freq[s] != 0;
  for (int s = 0; used < 2 && s < n; ++s)
    if (freq[s] == 0) {
      freq[s] = 1;
      ++used;
    }
  int symbols[kLitLenSymbols];
  int m = 0;
  for (int s = 0; s < n; ++s) {
    code.lengths[s] = 0;
    if (freq[s] != 0) symbols[m++] = s;
  }
  std::sort(symbols, symbols + m,
            [&](int a, int b) { return freq[a] != freq[b] ? freq[a] < freq[b] : a < b; });
  u32 depth[kLitLenSymbols] = {};
  for (int i = 0; i < m; ++i) depth[i] = freq[symbols[i]];
  minimum_redundancy(depth, m);
  // Codes per length, the longest folded into `max_bits` and the code made
  // complete again by lengthening shorter ones.
  int count[33] = {};
  for (int i = 0; i < m; ++i) ++count[std::min<u32>(depth[i], 32)];
  for (int i = max_bits + 1; i <= 32; ++i) count[max_bits] += count[i];
  u32 total = 0;
  for (int i = max_bits; i > 0; --i) total += static_cast<u32>(count[i]) << (max_bits - i);
  while (total != (u32(1) << max_bits)) {
    --count[max_bits];
    for (int i = max_bits - 1; i > 0; --i)
      if (count[i] != 0) {
        --count[i];
        count[i + 1] += 2;
        break;
      }
    --total;
  }
  // The longest codes to the rarest symbols.
  int i = 0;
  for (int length = max_bits; length > 0; --length)
    for (int k = 0; k < count[length]; ++k) code.lengths[symbols[i++]] = static_cast<u8>(length);
  // Canonical codes in symbol order.
  int per_length[16] = {};
  for (int s = 0; s < n; ++s) ++per_length[code.lengths[s]];
  per_length[0] = 0;
  u32 next[16] = {};
  u32 c = 0;
  for (int length = 1; length <= 15; ++length) {
    c = (c + static_cast<u32>(per_length[length - 1])) << 1;
    next[length] = c;
  }
  for (int s = 0; s < n; ++s) {
    const int length = code.lengths[s];
    if (length == 0) continue;
    u32 v = next[length]++, reversed = 0;
    for (int b = 0; b < length; ++b, v >>= 1) reversed = (reversed << 1) | (v & 1);
    code.bits[s] = static_cast<u16>(reversed);
  }
}

// The tokens of one block and their symbol frequencies.
struct Block {
  std::vector<u16> tokens;
  std::size_t count = 0;
  u32 litlen[kLitLenSymbols] = {};
  u32 dist[kDistSymbols] = {};
  void clear() {
    count = 0;
    std::fill(std::begin(litlen), std::end(litlen), 0u);
    std::fill(std::begin(dist), std::end(dist), 0u);
  }
};

struct Distances {
  Symbol left, above;
};

constexpr u8 kCodeLengthOrder[kCodeLengthSymbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                     11, 4,  12, 3, 13, 2, 14, 1, 15};

void write_block(BitWriter& w, Block& b, const Distances& d, bool final) {
  const auto& lengths = length_symbols();
  b.litlen[kEndOfBlock] = 1;
  Code litlen{}, dist{};
  build_code(b.litlen, kLitLenSymbols, 15, litlen);
  build_code(b.dist, kDistSymbols, 15, dist);
  int hlit = kLitLenSymbols, hdist = kDistSymbols;
  while (hlit > 257 && litlen.lengths[hlit - 1] == 0) --hlit;
  while (hdist > 1 && dist.lengths[hdist - 1] == 0) --hdist;

  // Both codes' lengths, run-length coded with the code length symbols
  // 16 (repeat the last 3 to 6 times), 17 (3 to 10 zeros), 18 (11 to 138).
  u8 all[kLitLenSymbols + kDistSymbols];
  std::memcpy(all, litlen.lengths, static_cast<std::size_t>(hlit));
  std::memcpy(all + hlit, dist.lengths, static_cast<std::size_t>(hdist));
  const int total = hlit + hdist;
  u8 rle[kLitLenSymbols + kDistSymbols];
  u8 rle_extra[kLitLenSymbols + kDistSymbols];
  int rle_count = 0;
  u32 cl_freq[kCodeLengthSymbols] = {};
  auto emit = [&](int symbol, int extra) {
    rle[rle_count] = static_cast<u8>(symbol);
    rle_extra[rle_count++] = static_cast<u8>(extra);
    ++cl_freq[symbol];
  };
  for (int i = 0; i < total;) {
    const u8 length = all[i];
    int run = 1;
    while (i + run < total && all[i + run] == length) ++run;
    i += run;
    if (length == 0) {
      while (run >= 11) {
        const int r = std::min(run, 138);
        emit(18, r - 11);
        run -= r;
      }
      if (run >= 3) {
        emit(17, run - 3);
        run = 0;
      }
    } else {
      emit(length, 0);
      --run;
      while (run >= 3) {
        const int r = std::min(run, 6);
        emit(16, r - 3);
        run -= r;
      }
    }
    for (; run > 0; --run) emit(length, 0);
  }
  Code cl{};
  build_code(cl_freq, kCodeLengthSymbols, 7, cl);
  int hclen = kCodeLengthSymbols;
  while (hclen > 4 && cl.lengths[kCodeLengthOrder[hclen - 1]] == 0) --hclen;

  // The block's size, for the room it needs.
  u64 bits = 3 + 5 + 5 + 4 + 3 * static_cast<u64>(hclen) + 7 * static_cast<u64>(rle_count);
  for (int s = 0; s < kLitLenSymbols; ++s) bits += static_cast<u64>(b.litlen[s]) * (litlen.lengths[s] + 5);
  for (int s = 0; s < kDistSymbols; ++s) bits += static_cast<u64>(b.dist[s]) * (dist.lengths[s] + 13);
  w.reserve(bits / 8 + 64);
  w.put(final ? 1 : 0, 1);
  w.put(2, 2);  // dynamic Huffman codes
  w.put(static_cast<u32>(hlit - 257), 5);
  w.put(static_cast<u32>(hdist - 1), 5);
  w.put(static_cast<u32>(hclen - 4), 4);
  for (int i = 0; i < hclen; ++i) w.put(cl.lengths[kCodeLengthOrder[i]], 3);
  for (int i = 0; i < rle_count; ++i) {
    w.put(cl.bits[rle[i]], cl.lengths[rle[i]]);
    if (rle[i] == 16) w.put(rle_extra[i], 2);
    if (rle[i] == 17) w.put(rle_extra[i], 3);
    if (rle[i] == 18) w.put(rle_extra[i], 7);
  }
  const u32 left_bits = dist.bits[d.left.symbol], above_bits = dist.bits[d.above.symbol];
  const int left_length = dist.lengths[d.left.symbol], above_length = dist.lengths[d.above.symbol];
  for (std::size_t i = 0; i < b.count; ++i) {
    const u16 t = b.tokens[i];
    if (!(t & kMatch)) {
      w.put(litlen.bits[t], litlen.lengths[t]);
      continue;
    }
    const Symbol& l = lengths[t & 0x1FF];
    w.put(litlen.bits[l.symbol], litlen.lengths[l.symbol]);
    if (l.extra_bits != 0) w.put(l.extra, l.extra_bits);
    if (t & kFromAbove) {
      w.put(above_bits, above_length);
      if (d.above.extra_bits != 0) w.put(d.above.extra, d.above.extra_bits);
    } else {
      w.put(left_bits, left_length);
      if (d.left.extra_bits != 0) w.put(d.left.extra, d.left.extra_bits);
    }
  }
  w.put(litlen.bits[kEndOfBlock], litlen.lengths[kEndOfBlock]);
}

// Gathers the tokens, writing a block whenever the buffer is full.
class Tokens {
 public:
  Tokens(Block& block, BitWriter& w, const Distances& d) : b_(block), w_(w), d_(d) {
    if (b_.tokens.size() < kBlockTokens) b_.tokens.resize(kBlockTokens);
    b_.clear();
  }
  void literal(u8 v) {
    make_room();
    b_.tokens[b_.count++] = v;
    ++b_.litlen[v];
  }
  // `length` bytes (at least 3) repeated from the left or from above.
  void match(std::size_t length, bool above) {
    const auto& lengths = length_symbols();
    while (length > 0) {
      std::size_t n = std::min<std::size_t>(length, kMaxMatch);
      if (length - n > 0 && length - n < 3) n = length - 3;
      make_room();
      b_.tokens[b_.count++] = static_cast<u16>(kMatch | (above ? kFromAbove : 0) | n);
      ++b_.litlen[lengths[n].symbol];
      ++b_.dist[above ? d_.above.symbol : d_.left.symbol];
      length -= n;
    }
  }
  void finish() { write_block(w_, b_, d_, true); }

 private:
  void make_room() {
    if (b_.count < b_.tokens.size()) return;
    write_block(w_, b_, d_, false);
    b_.clear();
  }
  Block& b_;
  BitWriter& w_;
  const Distances& d_;
};

// How many bytes from the start `a` and `b` have in common, at most `max`;
// eight at a time.
std::size_t common_prefix(const u8* a, const u8* b, std::size_t max) {
  std::size_t n = 0;
  for (; n + 8 <= max; n += 8) {
    u64 x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) {
      const u64 diff = x ^ y;
      return n + static_cast<std::size_t>(std::endian::native == std::endian::little
                                              ? std::countr_zero(diff)
                                              : std::countl_zero(diff)) /
                     8;
    }
  }
  while (n < max && a[n] == b[n]) ++n;
  return n;
}

template <int kBpp>
bool same_pixel(const u8* a, const u8* b) {
  if constexpr (kBpp == 4) {
    u32 x, y;
    std::memcpy(&x, a, 4);
    std::memcpy(&y, b, 4);
    return x == y;
  } else {
    u16 x, y;
    std::memcpy(&x, a, 2);
    std::memcpy(&y, b, 2);
    return x == y && a[2] == b[2];
  }
}

// A row: its filter byte as a literal, then from pixel to pixel the longer
// of the run repeating the pixel to the left (each byte the one `bpp` before
// it) and the run repeating the row above (null for the first row), or the
// pixel's bytes as literals when neither repeats it.
template <int kBpp>
void tokenize(const u8* row, const u8* above, std::size_t row_len, Tokens& tokens) {
  tokens.literal(row[0]);
  const std::ptrdiff_t to_above = above != nullptr ? above - row : 0;
  const u8* const end = row + row_len;
  const u8* p = row + 1;
  while (p < end) {
    const auto rest = static_cast<std::size_t>(end - p);
    // Runs are measured only when their first pixel repeats.
    const std::size_t left =
        p > row + 1 && same_pixel<kBpp>(p, p - kBpp) ? common_prefix(p, p - kBpp, rest) / kBpp : 0;
    // A run to the end of the row needs no look above (flat colour).
    const std::size_t over = above != nullptr && left * kBpp < rest && same_pixel<kBpp>(p, p + to_above)
                                 ? common_prefix(p, p + to_above, rest) / kBpp
                                 : 0;
    if (left == 0 && over == 0) {
      for (int i = 0; i < kBpp; ++i) tokens.literal(p[i]);
      p += kBpp;
    } else if (left >= over) {
      tokens.match(left * kBpp, false);
      p += left * kBpp;
    } else {
      tokens.match(over * kBpp, true);
      p += over * kBpp;
    }
  }
}

u32 adler32_of(u32 adler, const u8* data, std::size_t size) {
#if defined(ORV_HAVE_LIBDEFLATE)
  return libdeflate_adler32(adler, data, size);
#else
  while (size > 0) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    adler = static_cast<u32>(adler32(adler, data, n));
    data += n;
    size -= n;
  }
  return adler;
#endif
}

}  // namespace

std::size_t deflate_scanlines(int width, int height, int bpp, ScanlineFn scanline, void* context,
                              std::vector<unsigned char>& out) {
  const std::size_t row_len = 1 + static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp);
  BitWriter w(out, 0);
  w.reserve(row_len * static_cast<std::size_t>(height) / 64 + 1024);
  const u8 header[2] = {0x78, 0x01};  // deflate, 32 KiB window, fastest
  w.bytes(header, 2);
  const bool from_above = row_len <= kMaxDistance;
  const Distances d{distance_symbol(static_cast<std::size_t>(bpp)),
                    distance_symbol(from_above ? row_len : static_cast<std::size_t>(bpp))};
  thread_local Block block;
  thread_local std::vector<u8> rows;
  if (rows.size() < 2 * (row_len + 8)) rows.resize(2 * (row_len + 8));
  Tokens tokens(block, w, d);
  u32 adler = 1;
  for (int y = 0; y < height; ++y) {
    u8* row = rows.data() + (y % 2) * (row_len + 8);
    const u8* above = y > 0 && from_above ? rows.data() + ((y + 1) % 2) * (row_len + 8) : nullptr;
    scanline(context, y, row);
    adler = adler32_of(adler, row, row_len);
    if (bpp == 4)
      tokenize<4>(row, above, row_len, tokens);
    else
      tokenize<3>(row, above, row_len, tokens);
  }
  tokens.finish();
  w.align();
  const u8 trailer[4] = {u8(adler >> 24), u8(adler >> 16), u8(adler >> 8), u8(adler)};
  w.reserve(4);
  w.bytes(trailer, 4);
  return w.pos();
}

}  // namespace orv::render
