// A minimal stand-in for the host's service table, for unit tests that call
// module callbacks directly: token values by number, a log of key events and
// of the other service calls. Installing it writes its table into ImportTable;
// the destructor removes it again.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "frame/gauge_abi.h"

namespace orv::test {

struct KeyEvent {
  abi::u32 event;
  abi::u32 value;
  bool operator==(const KeyEvent&) const = default;
};

class FakeHost {
 public:
  FakeHost();
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // Token values the host delivers; an unknown token reads as 0.
  std::map<abi::u32, abi::f64> tokens;
  // Tokens delivered as an integer in the low word (BCD frequencies, flags).
  std::map<abi::u32, abi::u32> int_tokens;
  // Tokens delivered as a pointer to a text (the pointer itself, which may be
  // null or point at anything a test likes).
  std::map<abi::u32, const char*> text_tokens;
  // Named data blocks (slot 39) by name, and the names asked for.
  std::map<std::string, void*> named_data;
  std::vector<std::string> named_data_asked;

  std::vector<KeyEvent> events;
  std::vector<abi::u32> window_closes;   // arguments of slot 35
  std::vector<abi::u32> token_reads;     // ids, in call order
  std::vector<std::string> expressions;  // codes given to slot 69

  // Results of slot 69 by expression text (unknown ones read as 0 and "").
  std::map<std::string, std::string> expression_texts;
  std::map<std::string, abi::f64> expression_numbers;

  // Host interfaces by name (slot 77) and the user's aircraft variables
  // (slot 75; unset: 0).
  std::map<std::string, void*> interfaces;
  std::function<abi::f64(abi::u32 var, abi::u32 unit, abi::i32 index)> simulation_variable;

  void* table[128] = {};

  // Fills `var` as the host does before an element callback.
  void deliver(abi::TokenVar& var) const;

  static FakeHost* current();
};

}  // namespace orv::test
