// The call into the module in progress, kept so that a fault inside the
// module's code can be reported with what the host was doing: the gauge and
// instance, the kind of callback and the element or service. Every call the
// host makes into the module sits inside a ModuleCallScope; setting one is a
// few stores, cheap enough for every element of every frame.
//
// install_fault_report() turns a crash (SIGSEGV, SIGBUS, SIGILL, SIGFPE, and
// SIGABRT from abort()) into a report on standard error: the output written
// so far is flushed first, so a trace keeps every line before the fault, then
// the process exits with `module_code` (`load_code` for a crash while the
// library loads). A fault outside any module call is the host's own: it goes
// to the handler installed before (the sanitizers' or the default one); on
// Windows it exits with `host_code`.
#pragma once

#include <cstdint>

namespace orv::host {

// `load`: the system loader runs the library's start-up code (constructors,
// DllMain); `gauge` then holds the file's path.
enum class CallKind : std::uint8_t { none, load, linkage, service, element, mouse, tooltip };

// How a crash in a library's start-up code is described, after
// "PATH: not a loadable library: " and before " (SIGNAL)".
inline constexpr const char* kStartUpCrash = "its start-up code crashed";

struct ModuleCall {
  CallKind kind = CallKind::none;
  const char* gauge = nullptr;  // the gauge's name, as its header gives it
  int instance = -1;            // the instance's index in the host
  int detail = -1;              // element index in drawing order, service id or mouse record index
};

// The call in progress (kind none between calls).
extern ModuleCall g_module_call;

class ModuleCallScope {
 public:
  ModuleCallScope(CallKind kind, const char* gauge, int instance, int detail) : saved_(g_module_call) {
    g_module_call = {kind, gauge, instance, detail};
  }
  ~ModuleCallScope() { g_module_call = saved_; }
  ModuleCallScope(const ModuleCallScope&) = delete;
  ModuleCallScope& operator=(const ModuleCallScope&) = delete;

 private:
  ModuleCall saved_;
};

// Writes "module fault (SIGNAL) in gauge NAME, instance N, KIND callback
// (element K)" into `out` (at most `size` bytes, NUL-terminated) without
// allocating; returns the length.
int describe_module_call(const ModuleCall& call, const char* signal_name, char* out, int size);

void install_fault_report(int module_code, int host_code, int load_code);

// Output buffered outside the C library (the trace's block buffer) that the
// fault report writes out before its message: `flush(context)` is called
// from the fault handler. One at a time; null clears it.
void set_fault_flush(void (*flush)(void* context), void* context);

}  // namespace orv::host
