// Checks the shipped 32-bit module file: every record the simulator writes
// into (ImportTable, gauge headers, elements, mouse lists, tooltip argument
// tables, needle tables) lies in a section with write access. The records
// are found as the simulator finds them, from the exported Linkage record,
// by reading the PE32 image's sections at their preferred base.
//
//   gau_records_writable FILE.gau
//
// Prints every record outside a writable section; exit status 0 when there
// is none, 1 otherwise or when the file is not a PE32 gauge module.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The i686 layout of the records (the module's static_asserts fix it).
constexpr std::uint32_t kHeaderSize = 204, kHeaderName = 4, kHeaderElements = 8, kHeaderMouse = 80;
constexpr std::uint32_t kElementNext = 40, kNeedleTable = 112, kNeedleCount = 116, kNeedlePointSize = 24;
constexpr std::uint32_t kMouseSize = 44, kMouseEvent = 32, kMouseArgs = 40, kMouseArgSize = 72;
constexpr std::uint32_t kElementSizes[] = {96, 224, 312, 168, 132, 244, 316};
constexpr const char* kElementKinds[] = {"static image", "needle",       "text",  "slider",
                                         "icon",         "moving image", "sprite"};
constexpr std::uint32_t kScnMemWrite = 0x80000000u;
constexpr int kMaxGauges = 256, kMaxElements = 4096, kMaxMouseRects = 1024;

struct Section {
  std::string name;
  std::uint32_t rva, virtual_size, raw_size, raw_offset, flags;
};

class Image {
 public:
  explicit Image(std::vector<unsigned char> file) : file_(std::move(file)) {}

  bool parse() {
    const std::uint32_t pe = u32_at(0x3C);
    if (file_.size() < 2 || file_[0] != 'M' || file_[1] != 'Z' || u32_at(pe) != 0x00004550u) return false;
    const std::uint32_t coff = pe + 4;
    const std::uint32_t optional = coff + 20;
    if (u16_at(optional) != 0x10B) return false;  // PE32, not PE32+
    base_ = u32_at(optional + 28);
    export_rva_ = u32_at(optional + 96);
    std::uint32_t at = optional + u16_at(coff + 16);
    for (std::uint32_t i = 0; i < u16_at(coff + 2); ++i, at += 40) {
      char name[9] = {};
      for (int k = 0; k < 8; ++k) name[k] = static_cast<char>(byte_at(at + k));
      sections_.push_back(
          {name, u32_at(at + 12), u32_at(at + 8), u32_at(at + 16), u32_at(at + 20), u32_at(at + 36)});
    }
    return true;
  }

  // The address of export `name`, or 0.
  std::uint32_t exported(const char* name) const {
    const std::uint32_t dir = export_rva_;
    const std::uint32_t count = read32(base_ + dir + 24);
    for (std::uint32_t i = 0; i < count && i < 4096; ++i) {
      const std::string n = read_text(base_ + read32(base_ + read32(base_ + dir + 32) + 4 * i));
      if (n != name) continue;
      const std::uint32_t ordinal = read16(base_ + read32(base_ + dir + 36) + 2 * i);
      return base_ + read32(base_ + read32(base_ + dir + 28) + 4 * ordinal);
    }
    return 0;
  }

  // The section holding [va, va + size) whole, or null.
  const Section* section_of(std::uint32_t va, std::uint32_t size) const {
    if (va < base_) return nullptr;
    const std::uint64_t rva = va - base_;
    for (const Section& s : sections_) {
      const std::uint64_t extent = s.virtual_size != 0 ? s.virtual_size : s.raw_size;
      if (rva >= s.rva && rva + size <= s.rva + extent) return &s;
    }
    return nullptr;
  }

  std::uint32_t read32(std::uint32_t va) const { return read(va, 4); }
  std::uint32_t read16(std::uint32_t va) const { return read(va, 2); }
  std::string read_text(std::uint32_t va) const {
    std::string s;
    for (char c = 0; s.size() < 256 && (c = static_cast<char>(read(va + s.size(), 1))) != '\0';) s += c;
    return s;
  }

 private:
  // Little-endian bytes at an address of the loaded image; zeros where the
  // file holds nothing (uninitialised data, or outside every section).
  std::uint32_t read(std::uint32_t va, int bytes) const {
    std::uint32_t v = 0;
    for (int k = 0; k < bytes; ++k) {
      const Section* s = section_of(va + k, 1);
      const std::uint32_t offset = s == nullptr ? 0 : va + k - base_ - s->rva;
      if (s != nullptr && offset < s->raw_size)
        v |= std::uint32_t{byte_at(s->raw_offset + offset)} << (8 * k);
    }
    return v;
  }
  unsigned char byte_at(std::size_t at) const { return at < file_.size() ? file_[at] : 0; }
  std::uint32_t u16_at(std::size_t at) const { return byte_at(at) | byte_at(at + 1) << 8; }
  std::uint32_t u32_at(std::size_t at) const { return u16_at(at) | u16_at(at + 2) << 16; }

  std::vector<unsigned char> file_;
  std::vector<Section> sections_;
  std::uint32_t base_ = 0, export_rva_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.gau\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::printf("skipped: missing %s (build the win32 preset first)\n", argv[1]);
    return 77;  // ctest's skip code for this test
  }
  Image image(
      std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  if (!image.parse()) {
    std::printf("%s: not a PE32 image\n", argv[1]);
    return 1;
  }
  const std::uint32_t import_table = image.exported("ImportTable");
  const std::uint32_t linkage = image.exported("Linkage");
  if (import_table == 0 || linkage == 0) {
    std::printf("%s: exports no Linkage or ImportTable\n", argv[1]);
    return 1;
  }

  int checked = 0, bad = 0;
  auto check = [&](const std::string& owner, const std::string& what, std::uint32_t va, std::uint32_t size) {
    ++checked;
    const Section* s = image.section_of(va, size);
    if (s != nullptr && (s->flags & kScnMemWrite) != 0) return;
    ++bad;
    std::printf("%s: %s (%u bytes at 0x%08X) lies in %s\n", owner.c_str(), what.c_str(), size, va,
                s == nullptr ? "no section" : ("read-only section " + s->name).c_str());
  };
  check("ImportTable", "the record", import_table, 16);

  int gauges = 0;
  for (; gauges < kMaxGauges; ++gauges) {
    const std::uint32_t g = image.read32(linkage + 24 + 4 * gauges);
    if (g == 0) break;
    const std::string gauge = "gauge " + image.read_text(image.read32(g + kHeaderName));
    check(gauge, "the gauge header", g, kHeaderSize);

    int elements = 0;
    std::set<std::uint32_t> seen;
    auto walk = [&](auto& self, std::uint32_t list) -> void {
      for (std::uint32_t e; list != 0 && (e = image.read32(list)) != 0 && elements < kMaxElements;
           list += 4) {
        if (!seen.insert(e).second) continue;
        const std::uint32_t kind = image.read32(e);
        const std::string element = "element " + std::to_string(++elements) + " (" +
                                    (kind < 7 ? kElementKinds[kind] : "unknown kind") + ")";
        check(gauge, element, e, kind < 7 ? kElementSizes[kind] : 60);
        if (kind == 1 && image.read32(e + kNeedleTable) != 0)
          check(gauge, "the needle table of " + element, image.read32(e + kNeedleTable),
                image.read32(e + kNeedleCount) * kNeedlePointSize);
        self(self, image.read32(e + kElementNext));
      }
    };
    walk(walk, image.read32(g + kHeaderElements));

    const std::uint32_t mouse = image.read32(g + kHeaderMouse);
    if (mouse == 0) continue;
    int k = 0;
    for (; k < kMaxMouseRects && image.read32(mouse + k * kMouseSize) != 0; ++k) {
      const std::uint32_t r = mouse + k * kMouseSize;
      const std::uint32_t args = image.read32(r + kMouseArgs);
      if (image.read32(r) == 4 && args != 0 && image.read32(r + kMouseEvent) != 0)
        check(gauge, "the tooltip argument table of mouse rectangle " + std::to_string(k), args,
              image.read32(r + kMouseEvent) * kMouseArgSize);
    }
    check(gauge, "the mouse list", mouse, (k + 1) * kMouseSize);
  }
  if (gauges == 0) {
    std::printf("%s: empty gauge registry\n", argv[1]);
    return 1;
  }
  if (bad != 0) return 1;
  std::printf("ok: %d records of %d gauges, all in writable sections\n", checked, gauges);
  return 0;
}
