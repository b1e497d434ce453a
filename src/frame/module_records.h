// The two records the host finds by name in the module, and the gauge
// registry behind Linkage.
#pragma once

#include "frame/gauge_abi.h"

#if defined(_WIN32)
#define ORV_EXPORT __declspec(dllexport)
#else
#define ORV_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
ORV_EXPORT extern orv::abi::ImportTableRecord ImportTable;
ORV_EXPORT extern orv::abi::LinkageRecord Linkage;
}
