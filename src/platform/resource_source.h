// Where the native build finds the module's resources (bitmaps as BMP file
// images, sounds as WAVE file images): the module's own exported accessor
// `orv_module_resource`, unless a caller (a test) has put another source in
// its place.
#pragma once

namespace orv::platform {

using ResourceFn = const unsigned char* (*)(const char* type, unsigned id, unsigned* size);

// Replaces the resource source; null goes back to the module's own.
void set_resource_source(ResourceFn source);

// The whole file image of resource `id` of `type` ("WAVE"), with its size in
// `*size`; null (size 0) when the module carries no such resource.
const unsigned char* module_resource(const char* type, unsigned id, unsigned* size);

}  // namespace orv::platform
