#include "module.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "host_error.h"
#include "module_call.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace orv::host {

using namespace abi;

namespace {

std::string base_name(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = file.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

#if defined(_WIN32)
std::string last_error_text() {
  const DWORD code = GetLastError();
  char buffer[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                 buffer, sizeof buffer, nullptr);
  std::string text = n == 0 ? "error " + std::to_string(code) : std::string(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}
void* open_library(const std::string& path, std::string& reason) {
  // A bare file name would send the loader searching the system's folders.
  const std::string local = path.find_first_of("/\\") == std::string::npos ? ".\\" + path : path;
  HMODULE h = nullptr;
  {
    // The module's start-up code runs in the state its callbacks get.
    ModuleX87Scope x87;
    h = LoadLibraryA(local.c_str());
  }
  if (h == nullptr) reason = last_error_text();
  return reinterpret_cast<void*>(h);
}
void* find_symbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void close_library(void* handle) {
  ModuleX87Scope x87;
  FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* open_library(const std::string& path, std::string& reason) {
  // A bare file name would send the loader searching the library path.
  const std::string local = path.find('/') == std::string::npos ? "./" + path : path;
  void* h = dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (h == nullptr) {
    const char* e = dlerror();
    reason = e != nullptr ? e : "unknown loader error";
  }
  return h;
}
void* find_symbol(void* handle, const char* name) { return dlsym(handle, name); }
void close_library(void* handle) {
#if defined(__SANITIZE_ADDRESS__)
  // Kept loaded under the sanitizers, so that a leak report can still name
  // the module's functions at exit.
  (void)handle;
#else
  dlclose(handle);
#endif
}
#endif

// Which address ranges of the process the host may write into, read once
// per load: every record the host writes into must lie entirely inside them.
class WritableMemory {
 public:
  WritableMemory() {
#if !defined(_WIN32)
    // One line per mapping: "start-end perms offset dev inode path".
    if (std::FILE* maps = std::fopen("/proc/self/maps", "r")) {
      char line[4096];
      while (std::fgets(line, sizeof line, maps) != nullptr) {
        unsigned long long start = 0, end = 0;
        char perms[8] = {};
        if (std::sscanf(line, "%llx-%llx %7s", &start, &end, perms) == 3 && perms[1] == 'w')
          ranges_.emplace_back(static_cast<uptr>(start), static_cast<uptr>(end));
      }
      std::fclose(maps);
    }
    std::sort(ranges_.begin(), ranges_.end());
#endif
  }

  bool contains(const void* record, std::size_t size) const {
    if (record == nullptr) return false;
    uptr at = reinterpret_cast<uptr>(record);
    const uptr end = at + size;
    if (end < at) return false;
#if defined(_WIN32)
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
#else
    // Adjacent writable mappings may together hold one record.
    for (const auto& [first, last] : ranges_) {
      if (at >= end) break;
      if (first <= at && at < last) at = last;
    }
    return at >= end;
#endif
  }

 private:
  std::vector<std::pair<uptr, uptr>> ranges_;
};

const char* kind_name(u32 kind) {
  static const char* const names[] = {"static image", "needle",       "text",  "slider",
                                      "icon",         "moving image", "sprite"};
  return kind < std::size(names) ? names[kind] : "unknown";
}

// A text pointer from the module that must be a short NUL-terminated name.
bool sane_name(const char* name) {
  if (name == nullptr) return false;
  for (int i = 0; i < 256; ++i) {
    if (name[i] == '\0') return i > 0;
  }
  return false;
}

}  // namespace

std::unique_ptr<Module> Module::load(const std::string& path) {
  std::unique_ptr<Module> m(new Module());
  m->path_ = path;
  m->name_ = base_name(path);
  require_not_directory(path);
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fclose(f);
  } else {
    throw HostError(ErrorKind::unreadable, path + ": cannot open: " + std::strerror(errno));
  }
  std::string reason;
  m->handle_ = open_library(path, reason);
  if (m->handle_ == nullptr)
    throw HostError(ErrorKind::bad_module, path + ": not a loadable library: " + reason);
  m->import_table_ = static_cast<ImportTableRecord*>(find_symbol(m->handle_, "ImportTable"));
  m->linkage_ = static_cast<LinkageRecord*>(find_symbol(m->handle_, "Linkage"));
  if (m->import_table_ == nullptr || m->linkage_ == nullptr) {
    throw HostError(ErrorKind::bad_module, path + ": not a gauge module: it exports no " +
                                               (m->linkage_ == nullptr ? "Linkage" : "ImportTable") +
                                               " record");
  }
  m->check_records();
  return m;
}

Module::~Module() {
  if (handle_ != nullptr) close_library(handle_);
}

GaugeHeader* Module::find_gauge(const std::string& name) const {
  for (GaugeHeader* g : gauges_) {
    if (name == g->name) return g;
  }
  return nullptr;
}

void Module::check_records() {
  auto fail = [this](const std::string& reason) {
    throw HostError(ErrorKind::bad_module, path_ + ": " + reason);
  };
  auto hex = [](u32 v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%X", v);
    return std::string(b);
  };
  if (import_table_->id != kImportTableId)
    fail("ImportTable id is " + hex(import_table_->id) + ", expected 0x0F");
  if (linkage_->module_id != kModuleId)
    fail("Linkage module id is " + hex(linkage_->module_id) + ", expected 0x13");
  if (linkage_->version != kModuleVersion)
    fail("Linkage version is " + hex(linkage_->version) + ", expected 0x900");

  // The host writes into these records as the simulator does; one in
  // read-only memory would crash the simulator at its first write.
  const WritableMemory writable;
  auto must_be_writable = [&](const std::string& owner, const char* what, const void* record,
                              std::size_t size) {
    if (!writable.contains(record, size))
      fail(owner + ": " + what + " is in read-only memory; the host writes into it");
  };
  must_be_writable("ImportTable", "the record", import_table_, sizeof(ImportTableRecord));

  // The registry is an open-ended, null-terminated array that starts at the
  // gauges field; read it as such rather than through the fixed-size member.
  GaugeHeader* const* registry = reinterpret_cast<GaugeHeader* const*>(
      reinterpret_cast<const unsigned char*>(linkage_) + offsetof(LinkageRecord, gauges));
  int count = 0;
  while (count <= kMaxRegistrySize && registry[count] != nullptr) ++count;
  if (count > kMaxRegistrySize)
    fail("gauge registry has no null terminator within " + std::to_string(kMaxRegistrySize) + " entries");
  if (count == 0) fail("gauge registry is empty");

  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    GaugeHeader* g = registry[i];
    const std::string where = "gauge header " + std::to_string(i);
    if (g->version != kGaugeHeaderVersion)
      fail(where + " has version " + std::to_string(g->version) + ", expected 800");
    if (!sane_name(g->name)) fail(where + " has no readable name");
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
      for (int k = 0; list[k] != nullptr; ++k) {
        const ElementHeader* e = list[k];
        if (++elements > kMaxElementsPerGauge)
          fail(gauge + ": more than " + std::to_string(kMaxElementsPerGauge) + " elements");
        if (element_record_size(e->kind) == 0)
          fail(gauge + ": element of unknown kind " + std::to_string(e->kind));
        if (on_path.count(e) != 0) fail(gauge + ": element tree has a cycle");
        const std::string element = "element " + std::to_string(elements) + " (" + kind_name(e->kind) + ")";
        must_be_writable(gauge, element.c_str(), e, element_record_size(e->kind));
        if (e->kind == kNeedle) {
          const auto* needle = reinterpret_cast<const NeedleElement*>(e);
          if (needle->table != nullptr) {
            if (needle->table_count > kMaxNeedlePoints)
              fail(gauge + ": the needle table of " + element + " has " +
                   std::to_string(needle->table_count) + " points");
            must_be_writable(gauge, ("the needle table of " + element).c_str(), needle->table,
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
      for (; k < kMaxMouseRects && g->mouse_rects[k].kind != kMouseEnd; ++k) {
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
        must_be_writable(gauge, table.c_str(), r.args, r.event * sizeof(MouseArg));
      }
    }
    gauges_.push_back(g);
  }
}

// Windows builds read the bitmap resource's info header (type 2 holds the
// bitmap without its file header); native builds ask the module's resource
// accessor for the BMP file image. Either way only the two size words are read.
bool Module::bitmap_size(u32 id, int& width, int& height) const {
  const unsigned char* p = nullptr;
  std::size_t size = 0, header = 0;
#if defined(_WIN32)
  HMODULE h = static_cast<HMODULE>(handle_);
  HRSRC r = FindResourceA(h, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
  HGLOBAL g = r != nullptr ? LoadResource(h, r) : nullptr;
  p = g != nullptr ? static_cast<const unsigned char*>(LockResource(g)) : nullptr;
  size = r != nullptr ? SizeofResource(h, r) : 0;
#else
  using ResourceFn = const unsigned char* (*)(const char*, unsigned, unsigned*);
  auto fn = reinterpret_cast<ResourceFn>(find_symbol(handle_, "orv_module_resource"));
  unsigned n = 0;
  p = fn != nullptr ? fn("BITMAP", id, &n) : nullptr;
  size = n;
  header = 14;  // BITMAPFILEHEADER
  if (p != nullptr && (size < 2 || p[0] != 'B' || p[1] != 'M')) return false;
#endif
  if (p == nullptr || size < header + 12) return false;
  auto i32_at = [&](std::size_t at) {
    return static_cast<std::int32_t>(static_cast<u32>(p[at]) | static_cast<u32>(p[at + 1]) << 8 |
                                     static_cast<u32>(p[at + 2]) << 16 | static_cast<u32>(p[at + 3]) << 24);
  };
  const std::int32_t w = i32_at(header + 4), hgt = i32_at(header + 8);
  if (w <= 0 || hgt == 0 || w > 65536 || hgt > 65536 || hgt < -65536) return false;
  width = w;
  height = hgt < 0 ? -hgt : hgt;
  return true;
}

int Module::resource_id_at(const char* type, const void* bytes, unsigned ids) const {
#if defined(_WIN32)
  (void)type;
  (void)bytes;
  (void)ids;
  return -1;
#else
  using ResourceFn = const unsigned char* (*)(const char*, unsigned, unsigned*);
  auto fn = reinterpret_cast<ResourceFn>(find_symbol(handle_, "orv_module_resource"));
  if (fn == nullptr || bytes == nullptr) return -1;
  for (unsigned id = 0; id < ids; ++id) {
    unsigned size = 0;
    if (fn(type, id, &size) == bytes) return static_cast<int>(id);
  }
  return -1;
#endif
}

namespace {

// The "data" chunk of a RIFF WAVE image (its sample bytes), or null.
const unsigned char* wave_data(const unsigned char* image, std::size_t size, std::size_t& data_size) {
  if (image == nullptr || size < 12 || std::memcmp(image, "RIFF", 4) != 0 ||
      std::memcmp(image + 8, "WAVE", 4) != 0)
    return nullptr;
  for (std::size_t at = 12; at + 8 <= size;) {
    const std::size_t length =
        static_cast<std::size_t>(image[at + 4]) | static_cast<std::size_t>(image[at + 5]) << 8 |
        static_cast<std::size_t>(image[at + 6]) << 16 | static_cast<std::size_t>(image[at + 7]) << 24;
    const std::size_t room = size - (at + 8);
    if (std::memcmp(image + at, "data", 4) == 0) {
      data_size = std::min(length, room);
      return image + at + 8;
    }
    if (length >= room) return nullptr;
    at += 8 + length + (length & 1);
  }
  return nullptr;
}

}  // namespace

int Module::wave_resource_with_samples(const void* samples, std::size_t size, unsigned ids) const {
  if (samples == nullptr || size == 0) return -1;
  for (unsigned id = 1; id < ids; ++id) {
    const unsigned char* image = nullptr;
    std::size_t image_size = 0;
#if defined(_WIN32)
    HMODULE h = static_cast<HMODULE>(handle_);
    HRSRC r = FindResourceA(h, MAKEINTRESOURCEA(id), "WAVE");
    if (r == nullptr) continue;
    HGLOBAL g = LoadResource(h, r);
    image = g != nullptr ? static_cast<const unsigned char*>(LockResource(g)) : nullptr;
    image_size = SizeofResource(h, r);
#else
    using ResourceFn = const unsigned char* (*)(const char*, unsigned, unsigned*);
    static_assert(sizeof(unsigned) <= sizeof(std::size_t));
    auto fn = reinterpret_cast<ResourceFn>(find_symbol(handle_, "orv_module_resource"));
    if (fn == nullptr) return -1;
    unsigned n = 0;
    image = fn("WAVE", id, &n);
    image_size = n;
#endif
    std::size_t data_size = 0;
    const unsigned char* data = wave_data(image, image_size, data_size);
    if (data != nullptr && data_size == size && std::memcmp(data, samples, size) == 0)
      return static_cast<int>(id);
  }
  return -1;
}

}  // namespace orv::host
