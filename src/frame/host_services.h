// The seven panel services the module asks of its host. Each call reads the
// service table pointer afresh from ImportTable (the host may write it at any
// time before a callback) and does nothing, returning a neutral value, while
// the table is absent.
#pragma once

#include "frame/gauge_abi.h"
#include "frame/module_records.h"

namespace orv {

// Fills `var->value` with the token variable's current value. The record's
// host words are the caller's to clear.
void read_token_variable(abi::TokenVar* var);

// Reads token variable `id` into a fresh record and returns the record, so a
// read that fills nothing yields 0. Inline: the most frequent call of a
// frame.
inline abi::TokenVar read_token(abi::u32 id) {
  abi::TokenVar var{};
  var.id = id;
  if (void** table = ImportTable.services) {
    if (auto fn = reinterpret_cast<abi::LookupVarFn>(table[abi::kSlotLookupVar])) fn(&var);
  }
  return var;
}

// Reads token variable `id` as a float.
inline abi::f64 read_token_f64(abi::u32 id) { return read_token(id).value.n; }

// Reads token variable `id` as the host delivers packed values and flags: the
// unsigned integer in the low word.
inline abi::u32 read_token_u32(abi::u32 id) { return read_token(id).value.d; }

void send_key_event(abi::u32 event, abi::u32 value);

// Closes the panel window holding the calling gauge (always called with 0).
void close_own_panel_window(abi::u32 window);

// Stores the address of the host's data block `name` in `var->host_ptr`.
void lookup_named_data(abi::TokenVar* var, const char* name);

// Evaluates a host expression; `number` and `text` may be null.
void evaluate_expression(const char* code, abi::f64* number, const char** text);

abi::f64 read_simulation_variable(abi::u32 var, abi::u32 unit, abi::i32 index);

void* get_host_interface(const char* name);

}  // namespace orv
