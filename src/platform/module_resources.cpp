#include "platform/module_resources.h"

#include <cstring>

extern "C" const unsigned char* orv_module_resource(const char* type, unsigned id, unsigned* size) {
  using namespace orv::platform;
  if (size) *size = 0;
  if (!type) return nullptr;
  for (unsigned i = 0; i < kResourceCount; ++i) {
    const ResourceEntry& e = kResources[i];
    if (e.id == id && std::strcmp(e.type, type) == 0) {
      if (size) *size = e.size;
      return kResourceBlob + e.offset;
    }
  }
  return nullptr;
}
