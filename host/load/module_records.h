// The checks of a gauge module that run on plain memory, apart from the
// system loader, so that a fuzzer can feed them any bytes:
//  - check_library_file: the file's headers (ELF or PE) and every extent they
//    name lie within the file, before the loader maps it (a file cut short
//    would fault inside the loader when a page beyond its end is touched);
//  - check_module_records: ImportTable, Linkage and everything they point to,
//    each read only once it is known to lie inside the module's own image
//    (readable, a name terminated within it), and every record the host
//    writes into in writable memory.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "frame/gauge_abi.h"

namespace orv::host {

// At most this many gauge headers in a registry.
inline constexpr int kMaxRegistrySize = 256;
// Limits of a gauge's element tree and mouse list that a sane module stays under.
inline constexpr int kMaxElementsPerGauge = 4096;
inline constexpr int kMaxElementDepth = 1024;
inline constexpr int kMaxMouseRects = 1024;
inline constexpr unsigned kMaxNeedlePoints = 1024;
inline constexpr unsigned kMaxTooltipArgs = 99;  // placeholders run from %1 to %99
// A gauge name is shorter than this, terminated inside the module.
inline constexpr int kMaxGaugeName = 256;

// "" when `data` (a whole file of `size` bytes) is an ELF or PE image whose
// headers, program headers, section table and sections all lie within it;
// else the reason, the same on every platform.
std::string check_library_file(const unsigned char* data, std::size_t size);

// Address ranges [first, last) of the process, sorted; a record may span
// adjacent ranges.
class MemoryRanges {
 public:
  void add(abi::uptr first, abi::uptr last);
  bool contains(const void* record, std::size_t size) const;
  // The writable mappings of the process (Windows: asked page by page).
  static MemoryRanges writable_memory();
  // The readable image of the loaded library `handle` (its loaded segments).
  static MemoryRanges library_image(void* handle);

 private:
  std::vector<std::pair<abi::uptr, abi::uptr>> ranges_;
  bool query_ = false;  // Windows: ask the system rather than the list
};

// Checks ImportTable and Linkage (ids, version, a null-terminated registry of
// sane size, gauge headers and names, element trees, mouse lists, needle and
// tooltip tables) as described above. Throws HostError(bad_module) with the
// reason (no file name); returns the registry's gauge headers.
std::vector<abi::GaugeHeader*> check_module_records(abi::ImportTableRecord* import_table,
                                                    abi::LinkageRecord* linkage, const MemoryRanges& image,
                                                    const MemoryRanges& writable);

}  // namespace orv::host
