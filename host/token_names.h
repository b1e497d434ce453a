// Readable names of the token variables the instruments read, for scenarios
// and the command line. A token is always reachable by its number too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orv::host {

// The token number of `name`: a name from the table (case-insensitive) or a
// decimal number.
std::optional<std::uint32_t> token_by_name(const std::string& name);

// The table's name of token `id`, or null.
const char* token_name(std::uint32_t id);

}  // namespace orv::host
