// libFuzzer target over the parameter strings: the keyed and repeated
// searches, the window and help references, and the two families of gauges
// that read the strings (the toggles' set-up and click, the registration
// plate's set-up and text). The input is the host's NUL-terminated string in
// a buffer of exactly its size, so any read or write past it trips
// AddressSanitizer; the checks below catch writes that stay inside it.
#include "controls/parameters.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/module_records.h"
#include "frame/registry.h"

// No host: every service call does nothing.
extern "C" orv::abi::ImportTableRecord ImportTable = {orv::abi::kImportTableId, nullptr, 0, nullptr};

namespace {

using namespace orv::abi;

void require(bool ok) {
  if (!ok) std::abort();
}

void search_everything(const char* text) {
  for (const char* key : {"o", "c", "t", "a", "b", "h", "p", "f", "r", "g", " ", "_", "MAIN"}) {
    if (const char* value = orv::controls::find_key(text, key)) {
      require(value >= text && value <= text + std::strlen(text));
      orv::controls::window_reference(value);
      orv::controls::help_reference(value);
      orv::controls::leading_int(value);
    }
    orv::controls::for_each_key(text, key, [](const char* v) { orv::controls::window_reference(v); });
  }
}

void run_toggle(const std::vector<char>& input) {
  std::vector<char> parameters = input;
  StaticElement icon = *reinterpret_cast<StaticElement*>(orv::gauges::radios_toggle.elements[0]);
  ElementHeader* elements[] = {&icon.h, nullptr};
  MouseRect mouse[8];
  std::memcpy(mouse, orv::gauges::radios_toggle.mouse_rects, sizeof(MouseRect) * 4);
  GaugeHeader gauge = orv::gauges::radios_toggle;
  gauge.elements = elements;
  gauge.mouse_rects = mouse;
  gauge.parameters = parameters.data();
  icon.h.gauge = &gauge;
  gauge.callback(&gauge, kServiceInstall, 0);
  Click click{};
  click.gauge = &gauge;
  click.rect = &mouse[1];
  mouse[1].action.fn(&click, kMouseLeftSingle);
  require(parameters == input);
  require(icon.h.bitmap >= 100 && icon.h.bitmap <= 160);
}

void run_plate(const std::vector<char>& input) {
  std::vector<char> parameters = input;
  TextElement text = *reinterpret_cast<TextElement*>(orv::gauges::registration.elements[0]->next[0]);
  StaticElement background = *reinterpret_cast<StaticElement*>(orv::gauges::registration.elements[0]);
  ElementHeader* following[] = {&text.h, nullptr};
  ElementHeader* elements[] = {&background.h, nullptr};
  background.h.next = following;
  GaugeHeader gauge = orv::gauges::registration;
  gauge.elements = elements;
  gauge.parameters = parameters.data();
  background.h.gauge = &gauge;
  text.h.gauge = &gauge;
  std::vector<char> buffer(text.max_chars + 1u, '\x7F');
  text.text = buffer.data();

  gauge.callback(&gauge, kServiceInstall, 0);
  text.callback[0](&text);

  require(std::memchr(text.font, '\0', sizeof text.font) != nullptr);
  require(std::memchr(buffer.data(), '\0', buffer.size()) != nullptr);
  std::size_t changed = 0;
  for (std::size_t i = 0; i < input.size(); ++i) changed += parameters[i] != input[i];
  require(changed <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char> input(data, data + size);
  input.erase(std::find(input.begin(), input.end(), '\0'), input.end());
  input.push_back('\0');
  search_everything(input.data());
  run_toggle(input);
  run_plate(input);
  return 0;
}
