#include "host/load/module_records.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>

#include "host/load/host_error.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <link.h>
#endif

namespace orv::host {

using namespace abi;

// ---- the file's headers ----------------------------------------------------

namespace {

std::uint64_t read_le(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// The reason a library file's headers do not check out, "" when they do.
class FileCheck {
 public:
  FileCheck(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  // Whether [offset, offset + length) lies within the file.
  bool within(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  std::uint64_t at(std::uint64_t offset, int bytes) const { return read_le(data_ + offset, bytes); }
  std::string beyond(const std::string& what, std::uint64_t offset, std::uint64_t length) const {
    return "cut short or damaged: " + what + " (bytes " + std::to_string(offset) + " to " +
           std::to_string(offset + length) + ") lies beyond the end of the " + std::to_string(size_) +
           "-byte file";
  }

  std::string elf() const {
    const bool wide = data_[4] == 2;
    if ((data_[4] != 1 && !wide) || data_[5] != 1)
      return "an ELF file of a class or byte order not loaded here";
    const std::uint64_t header = wide ? 64 : 52;
    if (!within(0, header)) return beyond("the ELF header", 0, header);
    const int word = wide ? 8 : 4;
    const std::uint64_t phoff = at(wide ? 32 : 28, word), shoff = at(wide ? 40 : 32, word);
    const std::uint64_t phentsize = at(wide ? 54 : 42, 2), phnum = at(wide ? 56 : 44, 2);
    const std::uint64_t shentsize = at(wide ? 58 : 46, 2), shnum = at(wide ? 60 : 48, 2);
    if (phnum == 0) return "an ELF file without program headers (not a library)";
    if (phentsize < (wide ? 56u : 32u)) return "an ELF file with program headers of a wrong size";
    if (!within(phoff, phentsize * phnum))
      return beyond("the program header table", phoff, phentsize * phnum);
    for (std::uint64_t i = 0; i < phnum; ++i) {
      const std::uint64_t p = phoff + i * phentsize;
      const std::uint64_t offset = at(p + (wide ? 8 : 4), word), filesz = at(p + (wide ? 32 : 16), word);
      if (at(p, 4) != 0 && !within(offset, filesz))
        return beyond("segment " + std::to_string(i), offset, filesz);
    }
    if (shoff != 0 && shnum != 0) {
      if (shentsize < (wide ? 64u : 40u)) return "an ELF file with section headers of a wrong size";
      if (!within(shoff, shentsize * shnum))
        return beyond("the section header table", shoff, shentsize * shnum);
      for (std::uint64_t i = 0; i < shnum; ++i) {
        const std::uint64_t s = shoff + i * shentsize;
        constexpr std::uint64_t kNoBits = 8;
        const std::uint64_t offset = at(s + (wide ? 24 : 16), word), length = at(s + (wide ? 32 : 20), word);
        if (at(s + 4, 4) != kNoBits && at(s + 4, 4) != 0 && !within(offset, length))
          return beyond("section " + std::to_string(i), offset, length);
      }
    }
    return {};
  }

  std::string pe() const {
    if (!within(0, 64)) return beyond("the DOS header", 0, 64);
    const std::uint64_t pe = at(0x3C, 4);
    if (!within(pe, 24)) return beyond("the PE header", pe, 24);
    if (std::memcmp(data_ + pe, "PE\0\0", 4) != 0) return "an MZ file without a PE header (not a library)";
    const std::uint64_t sections = at(pe + 6, 2), optional = at(pe + 20, 2);
    if (!within(pe + 24, optional)) return beyond("the optional header", pe + 24, optional);
    const std::uint64_t table = pe + 24 + optional;
    if (!within(table, sections * 40)) return beyond("the section table", table, sections * 40);
    for (std::uint64_t i = 0; i < sections; ++i) {
      const std::uint64_t s = table + i * 40;
      const std::uint64_t raw = at(s + 16, 4), offset = at(s + 20, 4);
      if (raw != 0 && !within(offset, raw)) return beyond("section " + std::to_string(i), offset, raw);
    }
    return {};
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

}  // namespace

std::string check_library_file(const unsigned char* data, std::size_t size) {
  const FileCheck file(data, size);
  if (size >= 16 && std::memcmp(data,
                                "\x7f"
                                "ELF",
                                4) == 0)
    return file.elf();
  if (size >= 2 && data[0] == 'M' && data[1] == 'Z') return file.pe();
  return "neither an ELF nor a PE file (" + std::to_string(size) + " bytes)";
}

// ---- memory ranges ---------------------------------------------------------

void MemoryRanges::add(uptr first, uptr last) {
  if (first >= last) return;
  ranges_.emplace(std::upper_bound(ranges_.begin(), ranges_.end(), std::make_pair(first, last)), first, last);
}

bool MemoryRanges::contains(const void* record, std::size_t size) const {
  if (record == nullptr) return false;
  uptr at = reinterpret_cast<uptr>(record);
  const uptr end = at + size;
  if (end < at) return false;
#if defined(_WIN32)
  if (query_) {
    while (at < end) {
      MEMORY_BASIC_INFORMATION info{};
      if (VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) == 0) return false;
      constexpr DWORD kWritable =
          PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
      if (info.State != MEM_COMMIT || (info.Protect & kWritable) == 0 || (info.Protect & PAGE_GUARD) != 0)
        return false;
      at = reinterpret_cast<uptr>(info.BaseAddress) + info.RegionSize;
    }
    return true;
  }
#endif
  // The first range that could hold `at`, then on through adjacent ones.
  auto it = std::upper_bound(ranges_.begin(), ranges_.end(), std::make_pair(at, UINTPTR_MAX));
  if (it != ranges_.begin()) --it;
  for (; it != ranges_.end() && at < end; ++it) {
    if (it->first <= at && at < it->second)
      at = it->second;
    else if (it->first > at)
      break;
  }
  return at >= end;
}

MemoryRanges MemoryRanges::writable_memory() {
  MemoryRanges m;
#if defined(_WIN32)
  m.query_ = true;
#else
  // One line per mapping: "start-end perms offset dev inode path".
  if (std::FILE* maps = std::fopen("/proc/self/maps", "r")) {
    char line[4096];
    while (std::fgets(line, sizeof line, maps) != nullptr) {
      unsigned long long start = 0, end = 0;
      char perms[8] = {};
      if (std::sscanf(line, "%llx-%llx %7s", &start, &end, perms) == 3 && perms[1] == 'w')
        m.add(static_cast<uptr>(start), static_cast<uptr>(end));
    }
    std::fclose(maps);
  }
#endif
  return m;
}

#if defined(_WIN32)
MemoryRanges MemoryRanges::library_image(void* handle) {
  // The loaded image starts with its headers: SizeOfImage bytes from the
  // base are the module's, every page of them mapped.
  MemoryRanges m;
  const auto* base = static_cast<const unsigned char*>(handle);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  m.add(reinterpret_cast<uptr>(base), reinterpret_cast<uptr>(base) + nt->OptionalHeader.SizeOfImage);
  return m;
}
#else
MemoryRanges MemoryRanges::library_image(void* handle) {
  MemoryRanges m;
  struct link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return m;
  struct Search {
    const struct link_map* map;
    MemoryRanges* ranges;
  } search{map, &m};
  // The loaded segments of the library whose load address and name match.
  dl_iterate_phdr(
      [](struct dl_phdr_info* info, std::size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_addr != s->map->l_addr || info->dlpi_name == nullptr ||
            std::strcmp(info->dlpi_name, s->map->l_name) != 0)
          return 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& p = info->dlpi_phdr[i];
          if (p.p_type == PT_LOAD && (p.p_flags & PF_R) != 0)
            s->ranges->add(info->dlpi_addr + p.p_vaddr, info->dlpi_addr + p.p_vaddr + p.p_memsz);
        }
        return 1;
      },
      &search);
  return m;
}
#endif

// ---- the records -----------------------------------------------------------

namespace {

const char* kind_name(u32 kind) {
  static const char* const names[] = {"static image", "needle",       "text",  "slider",
                                      "icon",         "moving image", "sprite"};
  return kind < std::size(names) ? names[kind] : "unknown";
}

std::string hex(uptr v) {
  char b[24];
  std::snprintf(b, sizeof b, "0x%llX", static_cast<unsigned long long>(v));
  return b;
}

std::string address(const void* p) { return hex(reinterpret_cast<uptr>(p)); }

[[noreturn]] void fail(const std::string& reason) { throw HostError(ErrorKind::bad_module, reason); }

}  // namespace

std::vector<GaugeHeader*> check_module_records(ImportTableRecord* import_table, LinkageRecord* linkage,
                                               const MemoryRanges& image, const MemoryRanges& writable) {
  // Nothing is read before it is known to lie in the module's image.
  auto inside = [&](const void* p, std::size_t size) { return image.contains(p, size); };
  auto must_be_inside = [&](const std::string& what, const void* p, std::size_t size) {
    if (!inside(p, size)) fail(what + " points outside the module's image (" + address(p) + ")");
  };
  if (!inside(import_table, sizeof(ImportTableRecord)))
    fail("the ImportTable record lies outside the module's image");
  if (!inside(linkage, offsetof(LinkageRecord, gauges)))
    fail("the Linkage record lies outside the module's image");
  if (import_table->id != kImportTableId)
    fail("ImportTable id is " + hex(import_table->id) + ", expected 0x0F");
  if (linkage->module_id != kModuleId)
    fail("Linkage module id is " + hex(linkage->module_id) + ", expected 0x13");
  if (linkage->version != kModuleVersion)
    fail("Linkage version is " + hex(linkage->version) + ", expected 0x900");

  // The host writes into these records as the simulator does; one in
  // read-only memory would crash the simulator at its first write.
  auto must_be_writable = [&](const std::string& owner, const std::string& what, const void* record,
                              std::size_t size) {
    if (!writable.contains(record, size))
      fail(owner + ": " + what + " is in read-only memory; the host writes into it");
  };
  must_be_writable("ImportTable", "the record", import_table, sizeof(ImportTableRecord));

  // The registry is an open-ended, null-terminated array that starts at the
  // gauges field; read it as such rather than through the fixed-size member.
  GaugeHeader* const* registry = reinterpret_cast<GaugeHeader* const*>(
      reinterpret_cast<const unsigned char*>(linkage) + offsetof(LinkageRecord, gauges));
  int count = 0;
  for (; count <= kMaxRegistrySize; ++count) {
    if (!inside(&registry[count], sizeof registry[count]))
      fail("gauge registry runs out of the module's image at entry " + std::to_string(count));
    if (registry[count] == nullptr) break;
  }
  if (count > kMaxRegistrySize)
    fail("gauge registry has no null terminator within " + std::to_string(kMaxRegistrySize) + " entries");
  if (count == 0) fail("gauge registry is empty");

  std::vector<GaugeHeader*> gauges;
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    GaugeHeader* g = registry[i];
    const std::string where = "gauge header " + std::to_string(i);
    must_be_inside("gauge registry entry " + std::to_string(i), g, sizeof(GaugeHeader));
    if (g->version != kGaugeHeaderVersion)
      fail(where + " has version " + std::to_string(g->version) + ", expected 800");
    // A short name, terminated inside the image.
    int length = 0;
    for (; length < kMaxGaugeName; ++length) {
      if (!inside(g->name + length, 1))
        fail(where + ": its name" + (length == 0 ? " pointer" : "") + " points outside the module's image (" +
             address(g->name + length) + ")");
      if (g->name[length] == '\0') break;
    }
    if (length == 0 || length == kMaxGaugeName) fail(where + " has no readable name");
    const std::string gauge = where + " (" + g->name + ")";
    if (!names.insert(g->name).second) fail(gauge + " repeats an earlier gauge's name");
    if (g->elements == nullptr) fail(gauge + " has no element list");
    must_be_writable(gauge, "the gauge header", g, sizeof(GaugeHeader));

    // Element tree: every record of a known kind, finite size and depth.
    int elements = 0;
    std::set<const ElementHeader*> on_path;
    auto walk = [&](auto& self, ElementHeader* const* list, int depth) -> void {
      if (depth > kMaxElementDepth)
        fail(gauge + ": element tree deeper than " + std::to_string(kMaxElementDepth));
      for (int k = 0;; ++k) {
        must_be_inside(gauge + ": an element list", &list[k], sizeof list[k]);
        if (list[k] == nullptr) break;
        const ElementHeader* e = list[k];
        if (++elements > kMaxElementsPerGauge)
          fail(gauge + ": more than " + std::to_string(kMaxElementsPerGauge) + " elements");
        must_be_inside(gauge + ": element " + std::to_string(elements), e, sizeof(ElementHeader));
        if (element_record_size(e->kind) == 0)
          fail(gauge + ": element of unknown kind " + std::to_string(e->kind));
        if (on_path.count(e) != 0) fail(gauge + ": element tree has a cycle");
        const std::string element = "element " + std::to_string(elements) + " (" + kind_name(e->kind) + ")";
        must_be_inside(gauge + ": " + element, e, element_record_size(e->kind));
        must_be_writable(gauge, element, e, element_record_size(e->kind));
        if (e->kind == kNeedle) {
          const auto* needle = reinterpret_cast<const NeedleElement*>(e);
          if (needle->table != nullptr) {
            if (needle->table_count > kMaxNeedlePoints)
              fail(gauge + ": the needle table of " + element + " has " +
                   std::to_string(needle->table_count) + " points");
            must_be_writable(gauge, "the needle table of " + element, needle->table,
                             needle->table_count * sizeof(NeedlePoint));
          }
        }
        if (e->next != nullptr) {
          on_path.insert(e);
          self(self, e->next, depth + 1);
          on_path.erase(e);
        }
      }
    };
    walk(walk, g->elements, 0);

    if (g->mouse_rects != nullptr) {
      int k = 0;
      for (; k < kMaxMouseRects; ++k) {
        must_be_inside(gauge + ": the mouse list", &g->mouse_rects[k], sizeof(MouseRect));
        if (g->mouse_rects[k].kind == kMouseEnd) break;
        if (g->mouse_rects[k].kind > kMouseTooltip)
          fail(gauge + ": mouse rectangle " + std::to_string(k) + " has unknown kind " +
               std::to_string(g->mouse_rects[k].kind));
      }
      if (k == kMaxMouseRects) fail(gauge + ": mouse list has no end record");
      must_be_writable(gauge, "the mouse list", g->mouse_rects,
                       (static_cast<std::size_t>(k) + 1) * sizeof(MouseRect));
      for (int m = 0; m < k; ++m) {
        const MouseRect& r = g->mouse_rects[m];
        if (r.kind != kMouseTooltip || r.args == nullptr || r.event == 0) continue;
        const std::string table = "the tooltip argument table of mouse rectangle " + std::to_string(m);
        if (r.event > kMaxTooltipArgs)
          fail(gauge + ": " + table + " has " + std::to_string(r.event) + " arguments");
        must_be_writable(gauge, table, r.args, r.event * sizeof(MouseArg));
      }
    }
    gauges.push_back(g);
  }
  return gauges;
}

}  // namespace orv::host
