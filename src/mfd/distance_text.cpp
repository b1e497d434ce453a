#include "mfd/distance_text.h"

namespace orv::mfd {

void format_no_distance(char* buffer, std::size_t size, const char* none) {
  if (buffer == nullptr || size == 0) return;
  std::size_t n = 0;
  for (; n + 1 < size && none[n] != '\0'; ++n) buffer[n] = none[n];
  buffer[n] = '\0';
}

}  // namespace orv::mfd
