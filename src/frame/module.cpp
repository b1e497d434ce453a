// The module's exported records: ImportTable, into which the host writes its
// service table, and Linkage, which hands the host the gauge registry.
#include "frame/module_records.h"
#include "frame/registry.h"

namespace {

void ORV_CALL module_init() {}
void ORV_CALL module_deinit() {}

}  // namespace

extern "C" {

ORV_EXPORT orv::abi::ImportTableRecord ImportTable = {orv::abi::kImportTableId, nullptr, 0, nullptr};

#define ORV_LIST_GAUGE(var, name, size) &orv::gauges::var,
ORV_EXPORT orv::abi::LinkageRecord Linkage = {
    orv::abi::kModuleId, module_init, module_deinit, 0, 0, orv::abi::kModuleVersion,
    {ORV_GAUGE_TABLE(ORV_LIST_GAUGE) nullptr}};
#undef ORV_LIST_GAUGE
}

static_assert(sizeof(Linkage.gauges) / sizeof(Linkage.gauges[0]) == orv::abi::kGaugeCount + 1);
