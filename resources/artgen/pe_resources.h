// The module's Windows resources as a COFF object holding one `.rsrc`
// section, ready for the linker: the resource directory (types, ids, one
// language each) and the data. Several ids may name one data entry, so a
// bitmap that two ids share is stored once; a resource script compiled by
// windres cannot say that.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::art {

struct PeResource {
  std::string type;  // "BITMAP" (type 2, stored without its file header) or a named type ("WAVE")
  unsigned id;
  unsigned data;  // index into the data list
};

enum class PeMachine { kI386, kAmd64 };

// The object file: `resources` sorted by the caller's wish (the directory is
// sorted here), every one in language `language` (0x040C: French (France)).
std::vector<std::uint8_t> pe_resource_object(const std::vector<PeResource>& resources,
                                             const std::vector<std::vector<std::uint8_t>>& data,
                                             unsigned language, PeMachine machine);

}  // namespace orv::art
