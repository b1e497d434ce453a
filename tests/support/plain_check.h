// A check for the test programs that run under Wine, where GoogleTest is not
// built: CHECK(x) prints the failed expression and its line and counts it in
// `failures`, which the program's exit code reports.
#pragma once

#include <cstdio>

namespace plain_check {

inline int failures = 0;

inline void check(bool ok, const char* what, int line) {
  if (!ok) {
    std::printf("FAILED line %d: %s\n", line, what);
    ++failures;
  }
}

}  // namespace plain_check

#define CHECK(x) ::plain_check::check((x), #x, __LINE__)
