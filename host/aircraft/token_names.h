// Readable names of the token variables the instruments read, for scenarios
// and the command line, with the unit and sign each is served in. A token is
// always reachable by its number too.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orv::host {

// One token the host serves: its number, readable name, the unit of the value
// delivered and what a positive (or each) value means. Empty unit and sign
// texts print as "-".
struct TokenInfo {
  std::uint32_t id = 0;
  const char* name = "";
  const char* unit = "";
  const char* sign = "";
};

// The token number of `name`: a name from the table (case-insensitive) or a
// decimal number.
std::optional<std::uint32_t> token_by_name(const std::string& name);

// Token numbers below this are the simulator's own range, served whether
// named or not; above it only the table's tokens are.
inline constexpr std::uint32_t kTokenNumbers = 16384;
// Whether the host serves token number `id`.
bool token_number_served(std::uint32_t id);

// The table's name of token `id`, or null.
const char* token_name(std::uint32_t id);

// Every named token, by number.
std::span<const TokenInfo> token_table();

// Whether a value of that kind may be set to the token: the module reads a
// text token's variable as a pointer to characters, so a text token takes
// texts only and the other tokens of the table take numbers and integers
// only. Tokens outside the table take any kind.
bool token_takes(std::uint32_t id, bool text);

// The token table as a Markdown table (number, name, unit, sign, the value a
// token has before a scenario sets it); docs/tokens.md carries this text.
std::string token_table_markdown();

}  // namespace orv::host
