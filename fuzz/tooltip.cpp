// The host's tooltip formatter: any text with placeholders, arguments of
// any value (NaN, infinities, denormals, the largest numbers, long texts)
// from the input. No placeholder may make the text grow beyond a short line
// per placeholder.
#include "host/panel/tooltip.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orv::fuzz::FuzzInput in(data, size);
  std::vector<double> numbers;
  std::vector<std::string> texts;
  for (int i = 0; i < 4; ++i) {
    numbers.push_back(in.number());
    texts.push_back(in.text(200));
  }
  std::string text;
  while (!in.empty()) text.push_back(static_cast<char>(in.byte()));
  orv::host::TooltipSources sources;
  sources.number = [&](int i) { return numbers[static_cast<std::size_t>(i) % numbers.size()]; };
  sources.text = [&](int i) { return texts[static_cast<std::size_t>(i) % texts.size()]; };
  sources.expression = [&](const std::string& code) { return numbers[code.size() % numbers.size()]; };
  const std::string out = orv::host::format_tooltip(text, sources);
  const std::size_t placeholders = static_cast<std::size_t>(std::count(text.begin(), text.end(), '%'));
  if (out.size() > text.size() + 512 * placeholders) std::abort();
  return 0;
}
