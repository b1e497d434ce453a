// A flat stand-in for the host's token service, for benchmarks that measure
// the module's own cost: token values in two arrays, one evaluation pass over
// a placed gauge copy as the host makes it every update (channels filled,
// every callback called with the instance's copy of its element).
#pragma once

#include "frame/gauge_abi.h"
#include "frame/module_records.h"
#include "host/panel/element_kind.h"
#include "support/gauge_copy.h"

namespace orv::bench {

inline abi::f64 tokens[1024];
inline abi::u32 int_tokens[1024];
inline const char* text_tokens[1024];
inline void* table[128];

inline void ORV_CALL lookup_var(abi::TokenVar* var) {
  const abi::u32 id = var->id < 1024 ? var->id : 0;
  if (text_tokens[id] != nullptr) {
    var->value.n = 0.0;
    var->value.p = text_tokens[id];
  } else if (int_tokens[id] != 0) {
    var->value.n = 0.0;
    var->value.d = int_tokens[id];
  } else {
    var->value.n = tokens[id];
  }
}

inline abi::i32 ORV_CALL execute_code(const char*, abi::f64* number, abi::i32*, const char** text) {
  if (number != nullptr) *number = 1.0;
  if (text != nullptr) *text = "";
  return 1;
}

inline void install() {
  table[abi::kSlotLookupVar] = reinterpret_cast<void*>(&lookup_var);
  table[abi::kSlotExecuteCalculatorCode] = reinterpret_cast<void*>(&execute_code);
  ImportTable.services = table;
}

inline void uninstall() { ImportTable.services = nullptr; }

inline void fill(abi::TokenVar& var) {
  if (var.id != 0) lookup_var(&var);
}

inline abi::f64 call(abi::ElementFn fn, void* e) { return fn != nullptr ? fn(e) : 0.0; }

// Evaluates element i of `copy` as the host does (every channel's variable,
// then every channel's callback); returns the sum of the callbacks' values.
inline abi::f64 evaluate(test::GaugeCopy& copy, std::size_t i) {
  host::ElementChannels channels = host::element_channels(copy.element(i));
  for (host::ElementChannel& c : channels) fill(*c.source);
  abi::f64 sum = 0.0;
  for (host::ElementChannel& c : channels) sum += call(c.callback, copy.element(i));
  return sum;
}

}  // namespace orv::bench
