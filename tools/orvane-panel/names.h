// Names a user types on the command line (sub-commands, options, tokens,
// gauges, events) against the ones that exist: the closest valid name, for
// a "did you mean" in the error.
#pragma once

#include <string>
#include <vector>

namespace orv::panel_tool {

// Edit distance between two names, ignoring case.
int name_distance(const std::string& a, const std::string& b);

// The name of `names` that `name` most likely meant, else "": the same name
// in another case, one a few typed letters away (edit distance, ignoring
// case), one whose words' initials `name` spells ("HUD" for
// Head_Up_Display), or the only one that contains `name`.
std::string closest_name(const std::string& name, const std::vector<std::string>& names);

// "; did you mean 'NAME'?" for the closest name, else "".
std::string did_you_mean(const std::string& name, const std::vector<std::string>& names);

}  // namespace orv::panel_tool
