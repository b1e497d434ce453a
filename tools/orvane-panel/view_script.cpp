#include "view_script.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "cli.h"
#include "host/load/host_error.h"
#include "names.h"

namespace orv::panel_tool {

using host::ErrorKind;
using host::HostError;

namespace {

bool parse_point(const std::string& s, int& x, int& y) {
  const auto comma = s.find(',');
  return comma != std::string::npos && parse_int(s.substr(0, comma), x) &&
         parse_int(s.substr(comma + 1), y) && x >= 0 && y >= 0 && x <= 100000 && y <= 100000;
}

}  // namespace

bool key_from_name(const std::string& name, ViewKey& key) {
  struct Name {
    const char* name;
    ViewKey key;
  };
  static constexpr Name kNames[] = {
      {"escape", ViewKey::escape},
      {"q", ViewKey::q},
      {"r", ViewKey::r},
      {"space", ViewKey::space},
      {".", ViewKey::period},
      {"period", ViewKey::period},
      {"+", ViewKey::plus},
      {"plus", ViewKey::plus},
      {"keypad +", ViewKey::plus},
      {"=", ViewKey::equals},
      {"-", ViewKey::minus},
      {"minus", ViewKey::minus},
      {"keypad -", ViewKey::minus},
      {"backspace", ViewKey::backspace},
      {"up", ViewKey::up},
      {"down", ViewKey::down},
      {"left", ViewKey::left},
      {"right", ViewKey::right},
      {"[", ViewKey::left_bracket},
      {"]", ViewKey::right_bracket},
      {"page up", ViewKey::page_up},
      {"pageup", ViewKey::page_up},
      {"page down", ViewKey::page_down},
      {"pagedown", ViewKey::page_down},
      {"home", ViewKey::home},
      {"end", ViewKey::end},
  };
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const Name& n : kNames)
    if (lower == n.name) {
      key = n.key;
      return true;
    }
  // Any other printable character is a key the viewer leaves alone.
  if (lower.size() == 1 && std::isgraph(static_cast<unsigned char>(lower[0]))) {
    key = ViewKey::other;
    return true;
  }
  return false;
}

ViewScript parse_view_script(const std::string& text, const std::string& name) {
  ViewScript script;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    auto fail = [&](const std::string& why) {
      throw HostError(ErrorKind::usage, name + ":" + std::to_string(number) + ": " + why);
    };
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string time, verb;
    if (!(words >> time)) continue;
    ViewStep step;
    ViewInput& input = step.input;
    if (!parse_seconds(time, step.t) || step.t > 86400.0) fail("'" + time + "' is not a time in seconds");
    if (!script.steps.empty() && step.t < script.steps.back().t) fail("times must not go back");
    words >> verb;
    std::string rest;
    std::getline(words, rest);
    rest.erase(0, rest.find_first_not_of(" \t"));
    rest.erase(rest.find_last_not_of(" \t\r") + 1);
    if (verb == "click" || verb == "move") {
      std::istringstream args(rest);
      std::string point, button;
      args >> point >> button;
      if (!parse_point(point, input.x, input.y)) fail(verb + " needs a point X,Y, not '" + point + "'");
      input.kind = verb == "click" ? ViewInput::Kind::click : ViewInput::Kind::move;
      if (verb == "click" && !button.empty() && button != "left" && button != "right")
        fail("a click is left or right, not '" + button + "'");
      input.right = button == "right";
    } else if (verb == "key") {
      input.kind = ViewInput::Kind::key;
      if (!key_from_name(rest, input.key)) fail("'" + rest + "' is not a key name");
    } else if (verb == "screenshot") {
      input.kind = ViewInput::Kind::screenshot;
      input.file = rest;
      if (rest.empty()) fail("screenshot needs a file name");
    } else if (verb == "quit") {
      input.kind = ViewInput::Kind::quit;
    } else {
      fail("'" + verb + "' is not click, move, key, screenshot or quit" +
           did_you_mean(verb, {"click", "move", "key", "screenshot", "quit"}));
    }
    script.steps.push_back(step);
  }
  return script;
}

ViewScript read_view_script(const std::string& path) {
  return parse_view_script(host::read_file(path), path);
}

}  // namespace orv::panel_tool
