#include "host/load/module.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "host/load/host_error.h"

namespace orv::host {
namespace {

// Files that are not gauge modules, modules whose records are wrong, and
// records in read-only memory (the host writes into them as the simulator
// does, which would crash at the first write): refused, naming file and reason.
TEST(ModuleLoad, RejectsWhatTheSimulatorCouldNotRun) {
  const std::string text_file = std::string(ORV_TEST_DIR) + "/not_a_module.gau";
  std::ofstream(text_file) << "this is not a library\n";
  // The real module cut short: to 4 KB and to half its size.
  const std::string whole = [] {
    std::ifstream in(ORV_REAL_MODULE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  const std::string cut_4k = std::string(ORV_TEST_DIR) + "/cut_4k.so";
  const std::string cut_half = std::string(ORV_TEST_DIR) + "/cut_half.so";
  std::ofstream(cut_4k, std::ios::binary) << whole.substr(0, 4096);
  std::ofstream(cut_half, std::ios::binary) << whole.substr(0, whole.size() / 2);
  const std::string kCut = "not a loadable library: cut short or damaged: ";
  const std::string kReadOnly = " is in read-only memory; the host writes into it";
  const std::tuple<std::string, ErrorKind, std::string> cases[] = {
      {text_file, ErrorKind::bad_module, "not a loadable library: neither an ELF nor a PE file (22 bytes)"},
      {cut_4k, ErrorKind::bad_module, kCut},
      {cut_half, ErrorKind::bad_module, kCut},
      {"/dev/zero", ErrorKind::unreadable, "cannot open: not a regular file but a device"},
      {ORV_PROBE_REGISTRY_OUTSIDE, ErrorKind::bad_module,
       "gauge registry entry 1 points outside the module's image (0x10)"},
      {ORV_PROBE_NAME_OUTSIDE, ErrorKind::bad_module,
       "gauge header 0: its name pointer points outside the module's image (0x1000)"},
      {std::string(ORV_TEST_DIR) + "/missing.gau", ErrorKind::unreadable, "cannot open"},
      {ORV_PROBE_NO_LINKAGE, ErrorKind::bad_module, "exports no Linkage record"},
      {ORV_PROBE_BAD_VERSION, ErrorKind::bad_module, "Linkage version is 0x800, expected 0x900"},
      {ORV_PROBE_BAD_KIND, ErrorKind::bad_module, "gauge header 0 (Probe): element of unknown kind 9"},
      {ORV_PROBE_READONLY_ARGS, ErrorKind::bad_module,
       "gauge header 0 (Probe): the tooltip argument table of mouse rectangle 1" + kReadOnly},
      {ORV_PROBE_READONLY_MOUSE, ErrorKind::bad_module, "gauge header 0 (Probe): the mouse list" + kReadOnly},
      {ORV_PROBE_READONLY_NEEDLE, ErrorKind::bad_module,
       "gauge header 0 (Probe): the needle table of element 2 (needle)" + kReadOnly},
  };
  for (const auto& [path, kind, reason] : cases) {
    try {
      Module::load(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const HostError& e) {
      EXPECT_EQ(e.kind(), kind) << e.what();
      const std::string message = e.what();
      EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
      EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
  }
  EXPECT_NO_THROW(Module::load(ORV_PROBE_MODULE));
}

}  // namespace
}  // namespace orv::host
