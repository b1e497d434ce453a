#include "mfd/distance_text.h"

#include "frame/elements.h"

namespace orv::mfd {

void format_distance(char* buffer, std::size_t size, abi::f64 d, const DistanceFormats& forms) {
  if (!(d > 0.0) || !(d < 10000.0)) {
    if (buffer == nullptr || size == 0) return;
    std::size_t n = 0;
    for (; n + 1 < size && forms.none[n] != '\0'; ++n) buffer[n] = forms.none[n];
    buffer[n] = '\0';
    return;
  }
  format_number(buffer, size,
                d < 10.0     ? forms.two_decimals
                : d < 1000.0 ? forms.one_decimal
                             : forms.whole,
                d);
}

void write_distance(abi::TextElement* e, abi::f64 d, const DistanceFormats& forms) {
  if (e == nullptr) return;
  format_distance(e->text, static_cast<std::size_t>(e->max_chars) + 1, d, forms);
}

}  // namespace orv::mfd
