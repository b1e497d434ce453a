// The module's resources in the native build: the bitmaps (whole BMP file
// images) and WAVE sounds that the Windows build links as PE resources, kept
// in one embedded blob and found by type and numeric id.
#pragma once

#if defined(_WIN32)
#error "Windows builds reach their resources through the PE resource functions"
#endif

namespace orv::platform {

struct ResourceEntry {
  const char* type;  // "BITMAP" or "WAVE"
  unsigned id;
  unsigned offset;  // into kResourceBlob
  unsigned size;    // bytes
};

// Defined by the generated orvane_resources_blob.cpp.
extern const unsigned char* const kResourceBlob;
extern const ResourceEntry kResources[];
extern const unsigned kResourceCount;

}  // namespace orv::platform

// The accessor the substitute host finds with dlsym: the bytes of resource
// (type, id) and their count in *size, or null (and *size 0) when the module
// has no such resource. `size` may be null.
extern "C" __attribute__((visibility("default"))) const unsigned char* orv_module_resource(const char* type,
                                                                                           unsigned id,
                                                                                           unsigned* size);
