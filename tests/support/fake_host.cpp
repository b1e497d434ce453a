#include "support/fake_host.h"

#include "frame/module_records.h"

namespace orv::test {

using namespace abi;

namespace {

FakeHost* g_current = nullptr;

i32 ORV_CALL panel_window_toggle(u32 window) {
  g_current->window_closes.push_back(window);
  return 0;
}

u32 ORV_CALL trigger_key_event(u32 event, u32 value) {
  g_current->events.push_back({event, value});
  return 0;
}

void ORV_CALL lookup_var(TokenVar* rec) {
  g_current->token_reads.push_back(rec->id);
  g_current->deliver(*rec);
}

i32 ORV_CALL execute_calculator_code(const char* code, f64* num, i32*, const char** text) {
  g_current->expressions.emplace_back(code);
  if (num != nullptr) {
    auto it = g_current->expression_numbers.find(code);
    *num = it == g_current->expression_numbers.end() ? 0.0 : it->second;
  }
  if (text != nullptr) {
    auto it = g_current->expression_texts.find(code);
    *text = it == g_current->expression_texts.end() ? "" : it->second.c_str();
  }
  return 1;
}

f64 ORV_CALL aircraft_var_get(u32 var, u32 unit, i32 index) {
  return g_current->simulation_variable ? g_current->simulation_variable(var, unit, index) : 0.0;
}

void* ORV_CALL get_registered_interface(const char* name) {
  auto it = g_current->interfaces.find(name);
  return it == g_current->interfaces.end() ? nullptr : it->second;
}

void ORV_CALL init_var_by_name(TokenVar* rec, const char* name) {
  g_current->named_data_asked.emplace_back(name);
  auto it = g_current->named_data.find(name);
  rec->host_ptr = it == g_current->named_data.end() ? nullptr : it->second;
}

}  // namespace

FakeHost::FakeHost() {
  table[kSlotPanelWindowToggle] = reinterpret_cast<void*>(&panel_window_toggle);
  table[kSlotTriggerKeyEvent] = reinterpret_cast<void*>(&trigger_key_event);
  table[kSlotLookupVar] = reinterpret_cast<void*>(&lookup_var);
  table[kSlotInitVarByName] = reinterpret_cast<void*>(&init_var_by_name);
  table[kSlotExecuteCalculatorCode] = reinterpret_cast<void*>(&execute_calculator_code);
  table[kSlotAircraftVarGet] = reinterpret_cast<void*>(&aircraft_var_get);
  table[kSlotGetRegisteredInterface] = reinterpret_cast<void*>(&get_registered_interface);
  g_current = this;
  ImportTable.services = table;
}

FakeHost::~FakeHost() {
  ImportTable.services = nullptr;
  g_current = nullptr;
}

void FakeHost::deliver(TokenVar& var) const {
  if (auto t = text_tokens.find(var.id); t != text_tokens.end()) {
    var.value.n = 0.0;
    var.value.p = t->second;
  } else if (auto i = int_tokens.find(var.id); i != int_tokens.end()) {
    var.value.n = 0.0;
    var.value.d = i->second;
  } else {
    auto f = tokens.find(var.id);
    var.value.n = f == tokens.end() ? 0.0 : f->second;
  }
}

FakeHost* FakeHost::current() { return g_current; }

}  // namespace orv::test
