#include "module.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "host_error.h"

namespace orv::host {
namespace {

void expect_load_error(const std::string& path, ErrorKind kind, const std::string& reason) {
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

TEST(ModuleLoad, RejectsFilesThatAreNotGaugeModulesNamingFileAndReason) {
  const std::string text_file = std::string(ORV_TEST_DIR) + "/not_a_module.gau";
  std::ofstream(text_file) << "this is not a library\n";
  expect_load_error(text_file, ErrorKind::bad_module, "not a loadable library");
  expect_load_error(std::string(ORV_TEST_DIR) + "/missing.gau", ErrorKind::unreadable, "cannot open");
  expect_load_error(ORV_PROBE_NO_LINKAGE, ErrorKind::bad_module, "exports no Linkage record");
}

TEST(ModuleLoad, RejectsModulesWhoseRecordsAreWrong) {
  expect_load_error(ORV_PROBE_BAD_VERSION, ErrorKind::bad_module, "Linkage version is 0x800, expected 0x900");
  expect_load_error(ORV_PROBE_BAD_KIND, ErrorKind::bad_module,
                    "gauge header 0 (Probe): element of unknown kind 9");
}

// The host writes into these records as the simulator does: one in read-only
// memory would crash the simulator at the first write, so the load refuses it.
TEST(ModuleLoad, RejectsModulesWithRecordsInReadOnlyMemory) {
  const char* const kSuffix = " is in read-only memory; the host writes into it";
  const std::pair<const char*, std::string> cases[] = {
      {ORV_PROBE_READONLY_ARGS, "gauge header 0 (Probe): the tooltip argument table of mouse rectangle 1"},
      {ORV_PROBE_READONLY_MOUSE, "gauge header 0 (Probe): the mouse list"},
      {ORV_PROBE_READONLY_NEEDLE, "gauge header 0 (Probe): the needle table of element 2 (needle)"},
  };
  for (const auto& [path, record] : cases) expect_load_error(path, ErrorKind::bad_module, record + kSuffix);
  EXPECT_NO_THROW(Module::load(ORV_PROBE_MODULE));
}

}  // namespace
}  // namespace orv::host
