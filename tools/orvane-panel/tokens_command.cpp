// orvane-panel tokens: prints the table of the token variables the host
// serves, as docs/tokens.md carries it.
#include <cstdio>

#include "cli.h"
#include "commands.h"
#include "host/aircraft/token_names.h"

namespace orv::panel_tool {

namespace {

constexpr const char* kTokensHelp =
    "Usage: orvane-panel tokens\n"
    "\n"
    "Prints the token variables the host serves (number, name, unit, sign,\n"
    "value before a scenario sets it) as a Markdown table.\n"
    "\n";

}  // namespace

int run_tokens(const Args& args) {
  if (auto exit = parse_command_line("tokens", kTokensHelp, args, {})) return *exit;
  const std::string table = host::token_table_markdown();
  std::fwrite(table.data(), 1, table.size(), stdout);
  return kExitOk;
}

}  // namespace orv::panel_tool
