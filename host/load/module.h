// A gauge module loaded the way the simulator loads it: by path, through its
// two exported records only. Loading checks ImportTable and Linkage (ids,
// version, a null-terminated registry of sane size, gauge headers, element
// trees and mouse lists), so that everything the host later walks has been
// validated once, up front. It also checks that every record the host writes
// into (ImportTable, gauge headers, elements, mouse lists, tooltip argument
// tables, needle tables) lies in writable memory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/gauge_abi.h"
#include "host/load/module_records.h"

namespace orv::host {

class Module {
 public:
  // Checks the file's headers against its size, loads the library at `path`
  // and checks its records. Throws HostError (unreadable or bad_module)
  // naming the file and the reason. A crash in the library's own start-up
  // code is reported as a bad module (see install_fault_report).
  static std::unique_ptr<Module> load(const std::string& path);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const std::string& path() const { return path_; }
  // The file name without directory and extension, as panel.cfg names it.
  const std::string& name() const { return name_; }
  abi::LinkageRecord& linkage() const { return *linkage_; }
  abi::ImportTableRecord& import_table() const { return *import_table_; }
  const std::vector<abi::GaugeHeader*>& gauges() const { return gauges_; }
  // The registry's header of gauge `name` (exact match), or null.
  abi::GaugeHeader* find_gauge(const std::string& name) const;
  // Width and height in pixels of the module's bitmap resource `id`; false
  // when the module carries no such bitmap.
  bool bitmap_size(abi::u32 id, int& width, int& height) const;
  // The id (below `ids`) of the module's resource of `type` ("WAVE") whose
  // bytes start at `bytes`, or -1 (native builds: through the module's
  // resource accessor; Windows builds always -1).
  int resource_id_at(const char* type, const void* bytes, unsigned ids = 1000) const;
  // The id (below `ids`) of the module's WAVE resource whose sample data (its
  // "data" chunk) is exactly the `size` bytes at `samples`, or -1.
  int wave_resource_with_samples(const void* samples, std::size_t size, unsigned ids = 1000) const;
  // The loader's handle, handed to service 2 as the extra word.
  abi::uptr handle() const { return reinterpret_cast<abi::uptr>(handle_); }

 private:
  Module() = default;

  std::string path_;
  std::string name_;
  void* handle_ = nullptr;
  abi::LinkageRecord* linkage_ = nullptr;
  abi::ImportTableRecord* import_table_ = nullptr;
  std::vector<abi::GaugeHeader*> gauges_;
};

}  // namespace orv::host
