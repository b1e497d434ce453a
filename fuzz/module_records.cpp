// Module files and records as the loader's checks see them, with no system
// loader involved: the input's bytes go to the file check (ELF and PE
// headers against the file's size), then, taken as a loaded module's image,
// to the record checks. In the image, an 8-byte word at any 4-byte offset
// whose high half is 0xA5A5A5A5 is a pointer to the image offset in its low
// half (how the seeds point from record to record); every other word stays
// as written, so wild pointers (0x10, 0x1000, anything) are tried as well.
// The ImportTable record lies at offset 0, Linkage at 64; the first three
// quarters of the image are writable. Any read outside the image is a
// sanitizer report; a refusal is the host's own error.
#include "host/load/module_records.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/load/host_error.h"

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

constexpr std::uint32_t kMarker = 0xA5A5A5A5u;
constexpr std::size_t kLinkageAt = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv::host;
  using orv::abi::uptr;
  const std::string reason = check_library_file(data, size);
  require(reason.size() < 400);
  if (size < kLinkageAt + sizeof(orv::abi::LinkageRecord) || size > (1u << 20)) return 0;

  // The image: exactly the input's size, so that ASan sees any read past it.
  std::vector<unsigned char> image(data, data + size);
  unsigned char* base = image.data();
  for (std::size_t at = 0; at + 8 <= size;) {
    std::uint64_t word = 0;
    std::memcpy(&word, base + at, 8);
    if (static_cast<std::uint32_t>(word >> 32) != kMarker) {
      at += 4;
      continue;
    }
    const uptr target = reinterpret_cast<uptr>(base) + static_cast<std::uint32_t>(word) % size;
    std::memcpy(base + at, &target, sizeof target);
    at += 8;
  }
  MemoryRanges inside, writable;
  const uptr first = reinterpret_cast<uptr>(base);
  inside.add(first, first + size);
  writable.add(first, first + size * 3 / 4);
  try {
    const auto gauges =
        check_module_records(reinterpret_cast<orv::abi::ImportTableRecord*>(base),
                             reinterpret_cast<orv::abi::LinkageRecord*>(base + kLinkageAt), inside, writable);
    require(!gauges.empty() && static_cast<int>(gauges.size()) <= kMaxRegistrySize);
    for (const auto* g : gauges) require(inside.contains(g, sizeof *g));
  } catch (const HostError& e) {
    require(e.kind() == ErrorKind::bad_module);
  }
  return 0;
}
