#include "module.h"

#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace orv::host
