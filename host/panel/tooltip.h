// Tooltip texts in the host's placeholder syntax:
//   %1!s!  %1!d!  %2!.0f!  %1!04.2f!    numbered arguments from the table
//   %((A:KOHLSMAN SETTING MB,millibar))%!d!   an inline host expression
//   %%                                  a percent sign
// The part between the exclamation marks is a C conversion (flags, width,
// precision, one of d i u x X c f F e E g G s); width and precision have at
// most two digits each (99). A placeholder that does not parse, or asks for
// more, is copied as it stands.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orv::host {

struct TooltipSources {
  // Argument `index` (1-based) as a number or as a text; an argument the
  // table does not have reads as 0 or "".
  std::function<double(int index)> number;
  std::function<std::string(int index)> text;
  // An inline expression's value.
  std::function<double(const std::string& code)> expression;
};

std::string format_tooltip(std::string_view text, const TooltipSources& sources);

}  // namespace orv::host
