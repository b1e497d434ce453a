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

// The x87 unit's state around calls into the module, on the 32-bit Windows
// build (the other builds compute in SSE registers alone: nothing to set).
//
// use_double_precision_x87() sets the state a Windows process starts in and
// a program of Microsoft's compiler keeps: 53-bit precision, round to
// nearest, exceptions masked. The MinGW runtime starts the program at 64
// bits, in which the C++ library's number parsing rounds some values twice;
// the tool calls this first. No effect on other builds.
//
// set_module_x87_precision(bits), bits 24, 53 or 64, sets the control word to
// that precision (round to nearest, exceptions masked) before every call into
// the module, as a simulator's process may leave it, and puts the host's own
// back after the call, so what the host computes does not change; 0 turns it
// off. False on builds without an x87 unit in use (nothing is set).
constexpr bool kX87InUse =
#if defined(_WIN32) && defined(__i386__)
    true;
#else
    false;
#endif
void use_double_precision_x87();
bool set_module_x87_precision(int bits);

// The control word that calls into the module start with; 0 when none is set.
extern std::uint16_t g_module_x87_control;

// Sets g_module_x87_control for a call into the module and restores the
// caller's control word after it.
class ModuleX87Scope {
 public:
  ModuleX87Scope() {
#if defined(_WIN32) && defined(__i386__)
    if (g_module_x87_control != 0) {
      set_ = true;
      __asm__ volatile("fnstcw %0" : "=m"(saved_));
      __asm__ volatile("fldcw %0" : : "m"(g_module_x87_control));
    }
#endif
  }
  ~ModuleX87Scope() {
#if defined(_WIN32) && defined(__i386__)
    if (set_) __asm__ volatile("fldcw %0" : : "m"(saved_));
#endif
  }
  ModuleX87Scope(const ModuleX87Scope&) = delete;
  ModuleX87Scope& operator=(const ModuleX87Scope&) = delete;

 private:
  [[maybe_unused]] bool set_ = false;
  [[maybe_unused]] std::uint16_t saved_ = 0;
};

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
  ModuleX87Scope x87_;
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
