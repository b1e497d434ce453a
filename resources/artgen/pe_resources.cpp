#include "artgen/pe_resources.h"

#include <algorithm>
#include <map>

#include "artgen/bytes.h"

namespace orv::art {
namespace {

constexpr unsigned kBitmapType = 2;  // RT_BITMAP
constexpr unsigned kSubdirectory = 0x80000000u;
constexpr unsigned kNamed = 0x80000000u;

void put_at(std::vector<std::uint8_t>& v, std::size_t at, unsigned x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

void align(std::vector<std::uint8_t>& v, std::size_t to) {
  while (v.size() % to != 0) v.push_back(0);
}

// One directory table: no characteristics, time stamp or version, then
// the counts of named and numbered entries.
void put_directory(std::vector<std::uint8_t>& v, unsigned named, unsigned numbered) {
  put_u32(v, 0);
  put_u32(v, 0);
  put_u32(v, 0);
  put_u16(v, named);
  put_u16(v, numbered);
}

}  // namespace

std::vector<std::uint8_t> pe_resource_object(const std::vector<PeResource>& resources,
                                             const std::vector<std::vector<std::uint8_t>>& data,
                                             unsigned language, PeMachine machine) {
  // Types in directory order: named ones first by name, then numbered
  // ones; within a type the ids ascending.
  struct TypeKey {
    bool numbered;
    std::string name;
    unsigned number;
    bool operator<(const TypeKey& o) const {
      if (numbered != o.numbered) return !numbered;
      return numbered ? number < o.number : name < o.name;
    }
  };
  std::map<TypeKey, std::map<unsigned, unsigned>> types;  // type -> id -> data index
  for (const PeResource& r : resources) {
    const bool bitmap = r.type == "BITMAP";
    types[{bitmap, bitmap ? std::string() : r.type, bitmap ? kBitmapType : 0}][r.id] = r.data;
  }

  // Offsets of every part of the section, directories first.
  std::size_t at = 16 + 8 * types.size();
  std::vector<std::size_t> type_dir;
  for (const auto& t : types) {
    type_dir.push_back(at);
    at += 16 + 8 * t.second.size();
  }
  std::vector<std::size_t> language_dir;
  for (const auto& t : types)
    for (std::size_t i = 0; i < t.second.size(); ++i) {
      language_dir.push_back(at);
      at += 16 + 8;
    }
  const std::size_t entries = at;
  at += 16 * data.size();
  std::vector<std::size_t> names;
  for (const auto& t : types)
    if (!t.first.numbered) {
      names.push_back(at);
      at += 2 + 2 * t.first.name.size();
    }

  std::vector<std::uint8_t> s;
  put_directory(s, static_cast<unsigned>(names.size()), static_cast<unsigned>(types.size() - names.size()));
  {
    std::size_t k = 0, n = 0;
    for (const auto& t : types) {
      put_u32(s, t.first.numbered ? t.first.number : static_cast<unsigned>(names[n++]) | kNamed);
      put_u32(s, static_cast<unsigned>(type_dir[k++]) | kSubdirectory);
    }
  }
  std::size_t lang = 0;
  for (const auto& t : types) {
    put_directory(s, 0, static_cast<unsigned>(t.second.size()));
    for (const auto& [id, index] : t.second) {
      (void)index;
      put_u32(s, id);
      put_u32(s, static_cast<unsigned>(language_dir[lang++]) | kSubdirectory);
    }
  }
  for (const auto& t : types)
    for (const auto& [id, index] : t.second) {
      (void)id;
      put_directory(s, 0, 1);
      put_u32(s, language);
      put_u32(s, static_cast<unsigned>(entries + 16 * index));
    }
  // The data entries; their first word (the data's address) is relocated
  // by the linker from an offset in this section to an image address.
  std::vector<std::size_t> relocations;
  for (const auto& d : data) {
    relocations.push_back(s.size());
    put_u32(s, 0);
    put_u32(s, static_cast<unsigned>(d.size()));
    put_u32(s, 0);  // code page
    put_u32(s, 0);
  }
  for (const auto& t : types)
    if (!t.first.numbered) {
      put_u16(s, static_cast<unsigned>(t.first.name.size()));
      for (char c : t.first.name) put_u16(s, static_cast<unsigned char>(c));
    }
  for (std::size_t i = 0; i < data.size(); ++i) {
    align(s, 8);
    put_at(s, relocations[i], static_cast<unsigned>(s.size()));
    s.insert(s.end(), data[i].begin(), data[i].end());
  }
  align(s, 8);

  // The object: file header, one section header, the section, its
  // relocations, one symbol (the section's) and an empty string table.
  constexpr unsigned kHeaders = 20 + 40;
  const unsigned raw = static_cast<unsigned>(s.size());
  const unsigned relocation_table = kHeaders + raw;
  const unsigned symbols = relocation_table + 10 * static_cast<unsigned>(relocations.size());
  std::vector<std::uint8_t> o;
  put_u16(o, machine == PeMachine::kI386 ? 0x14C : 0x8664);
  put_u16(o, 1);  // sections
  put_u32(o, 0);  // time stamp: none, so that the output is the same on every run
  put_u32(o, symbols);
  put_u32(o, 1);  // symbols
  put_u16(o, 0);  // optional header
  put_u16(o, 0);  // characteristics
  for (char c : std::string(".rsrc\0\0\0", 8)) o.push_back(static_cast<std::uint8_t>(c));
  put_u32(o, 0);  // virtual size
  put_u32(o, 0);  // virtual address
  put_u32(o, raw);
  put_u32(o, kHeaders);
  put_u32(o, relocation_table);
  put_u32(o, 0);  // line numbers
  put_u16(o, static_cast<unsigned>(relocations.size()));
  put_u16(o, 0);
  put_u32(o, 0x40000040u | 0x00400000u);  // initialised data, readable, aligned to 8 bytes
  o.insert(o.end(), s.begin(), s.end());
  const unsigned type = machine == PeMachine::kI386 ? 0x0007 : 0x0003;  // address relative to the image base
  for (std::size_t r : relocations) {
    put_u32(o, static_cast<unsigned>(r));
    put_u32(o, 0);  // symbol 0: the section
    put_u16(o, type);
  }
  for (char c : std::string(".rsrc\0\0\0", 8)) o.push_back(static_cast<std::uint8_t>(c));
  put_u32(o, 0);   // value
  put_u16(o, 1);   // section number
  put_u16(o, 0);   // type
  o.push_back(3);  // storage class: static
  o.push_back(0);  // auxiliary records
  put_u32(o, 4);   // string table: its size only
  return o;
}

}  // namespace orv::art
