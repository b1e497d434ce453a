#include "view_script.h"

#include <sstream>

#include "cli.h"
#include "host_error.h"
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
      if (!parse_point(point, step.x, step.y)) fail(verb + " needs a point X,Y, not '" + point + "'");
      step.kind = verb == "click" ? ViewStep::Kind::click : ViewStep::Kind::move;
      if (verb == "click" && !button.empty() && button != "left" && button != "right")
        fail("a click is left or right, not '" + button + "'");
      step.right = button == "right";
    } else if (verb == "key") {
      step.kind = ViewStep::Kind::key;
      step.key = SDL_GetKeyFromName(rest.c_str());
      if (step.key == SDLK_UNKNOWN) fail("'" + rest + "' is not a key name");
    } else if (verb == "screenshot") {
      step.kind = ViewStep::Kind::screenshot;
      step.file = rest;
      if (rest.empty()) fail("screenshot needs a file name");
    } else if (verb == "quit") {
      step.kind = ViewStep::Kind::quit;
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
