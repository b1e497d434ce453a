#include "host/load/module.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "host/load/host_error.h"
#include "host/load/module_call.h"

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
// The system's text of the last error, its "%1" filled with the file.
std::string last_error_text(const std::string& path) {
  const DWORD code = GetLastError();
  // What the native build's fault report says of a crash in start-up code.
  if (code == ERROR_NOACCESS) return std::string(kStartUpCrash) + " (SIGSEGV)";
  char buffer[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                 buffer, sizeof buffer, nullptr);
  std::string text = n == 0 ? "error " + std::to_string(code) : std::string(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  for (auto at = text.find("%1"); at != std::string::npos; at = text.find("%1", at + path.size()))
    text.replace(at, 2, path);
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
  if (h == nullptr) reason = last_error_text(path);
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

}  // namespace

std::unique_ptr<Module> Module::load(const std::string& path) {
  std::unique_ptr<Module> m(new Module());
  m->path_ = path;
  m->name_ = base_name(path);
  // The headers are checked against the file's size before the system
  // loader maps it: a file cut short would fault inside the loader.
  {
    const std::string bytes = read_file(path);
    const std::string wrong =
        check_library_file(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (!wrong.empty()) throw HostError(ErrorKind::bad_module, path + ": not a loadable library: " + wrong);
  }
  std::string reason;
  {
    // A fault in the library's start-up code (constructors, DllMain) is the
    // module's: the fault report names the file and exits as a bad module.
    const ModuleCallScope loading(CallKind::load, m->path_.c_str(), -1, -1);
    m->handle_ = open_library(path, reason);
  }
  if (m->handle_ == nullptr)
    throw HostError(ErrorKind::bad_module, path + ": not a loadable library: " + reason);
  m->import_table_ = static_cast<ImportTableRecord*>(find_symbol(m->handle_, "ImportTable"));
  m->linkage_ = static_cast<LinkageRecord*>(find_symbol(m->handle_, "Linkage"));
  if (m->import_table_ == nullptr || m->linkage_ == nullptr) {
    throw HostError(ErrorKind::bad_module, path + ": not a gauge module: it exports no " +
                                               (m->linkage_ == nullptr ? "Linkage" : "ImportTable") +
                                               " record");
  }
  try {
    m->gauges_ = check_module_records(m->import_table_, m->linkage_, MemoryRanges::library_image(m->handle_),
                                      MemoryRanges::writable_memory());
  } catch (const HostError& e) {
    throw HostError(ErrorKind::bad_module, path + ": " + e.what());
  }
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
