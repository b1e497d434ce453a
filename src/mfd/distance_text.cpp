#include "mfd/distance_text.h"

#include "frame/elements.h"

namespace orv::mfd {

void format_distance(char* buffer, std::size_t size, abi::f64 d, const DistanceFormats& forms) {
  if (!(d > 0.0) || !(d < 10000.0)) {
    format_bounded(buffer, size, "%s", forms.none);
    return;
  }
  const char* form = d < 10.0 ? forms.two_decimals : d < 1000.0 ? forms.one_decimal : forms.whole;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
  format_bounded(buffer, size, form, d);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

void write_distance(abi::TextElement* e, abi::f64 d, const DistanceFormats& forms) {
  if (e == nullptr) return;
  format_distance(e->text, static_cast<std::size_t>(e->max_chars) + 1, d, forms);
}

}  // namespace orv::mfd
