// orvane-panel tokens: prints the table of the token variables the host
// serves, as docs/tokens.md carries it.
#include <cstdio>

#include "commands.h"
#include "token_names.h"

namespace orv::panel_tool {

int run_tokens(const Args& args) {
  if (!args.empty()) {
    const bool help = args[0] == "--help" || args[0] == "-h";
    std::fprintf(help ? stdout : stderr,
                 "Usage: orvane-panel tokens\n\n"
                 "Prints the token variables the host serves (number, name, unit, sign,\n"
                 "value before a scenario sets it) as a Markdown table.\n");
    return help ? kExitOk : kExitUsage;
  }
  const std::string table = host::token_table_markdown();
  std::fwrite(table.data(), 1, table.size(), stdout);
  return kExitOk;
}

}  // namespace orv::panel_tool
