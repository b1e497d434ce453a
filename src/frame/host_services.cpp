#include "frame/host_services.h"

#include "frame/module_records.h"

namespace orv {

using namespace abi;

namespace {

// The function in `slot` of the host's table as it stands now, or null.
template <typename Fn>
Fn slot(int index) {
  void** table = ImportTable.services;
  if (table == nullptr) return nullptr;
  return reinterpret_cast<Fn>(table[index]);
}

}  // namespace

void read_token_variable(TokenVar* var) {
  if (var == nullptr) return;
  if (auto fn = slot<LookupVarFn>(kSlotLookupVar)) fn(var);
}

void send_key_event(u32 event, u32 value) {
  if (auto fn = slot<TriggerKeyEventFn>(kSlotTriggerKeyEvent)) fn(event, value);
}

void close_own_panel_window(u32 window) {
  if (auto fn = slot<PanelWindowToggleFn>(kSlotPanelWindowToggle)) fn(window);
}

void lookup_named_data(TokenVar* var, const char* name) {
  if (var == nullptr || name == nullptr) return;
  if (auto fn = slot<InitVarByNameFn>(kSlotInitVarByName)) fn(var, name);
}

void evaluate_expression(const char* code, f64* number, const char** text) {
  if (code == nullptr) return;
  if (auto fn = slot<ExecuteCalculatorCodeFn>(kSlotExecuteCalculatorCode)) fn(code, number, nullptr, text);
}

f64 read_simulation_variable(u32 var, u32 unit, i32 index) {
  if (auto fn = slot<AircraftVarGetFn>(kSlotAircraftVarGet)) return fn(var, unit, index);
  return 0.0;
}

void* get_host_interface(const char* name) {
  if (name == nullptr) return nullptr;
  if (auto fn = slot<GetRegisteredInterfaceFn>(kSlotGetRegisteredInterface)) return fn(name);
  return nullptr;
}

}  // namespace orv
