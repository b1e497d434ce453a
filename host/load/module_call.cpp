#include "host/load/module_call.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace orv::host {

ModuleCall g_module_call;
std::uint16_t g_module_x87_control = 0;

namespace {

// Every exception masked (bits 0-5), the reserved bit 6 set as the processor
// keeps it, round to nearest (bits 10-11 clear), precision in bits 8-9.
constexpr std::uint16_t kX87Masked = 0x007f;
constexpr std::uint16_t kX87Precision24 = 0x0000, kX87Precision53 = 0x0200, kX87Precision64 = 0x0300;

}  // namespace

void use_double_precision_x87() {
#if defined(_WIN32) && defined(__i386__)
  const std::uint16_t control = kX87Masked | kX87Precision53;
  __asm__ volatile("fldcw %0" : : "m"(control));
#endif
}

bool set_module_x87_precision(int bits) {
  if (!kX87InUse) return false;
  switch (bits) {
    case 0:
      g_module_x87_control = 0;
      return true;
    case 24:
      g_module_x87_control = kX87Masked | kX87Precision24;
      return true;
    case 53:
      g_module_x87_control = kX87Masked | kX87Precision53;
      return true;
    case 64:
      g_module_x87_control = kX87Masked | kX87Precision64;
      return true;
    default:
      return false;
  }
}

namespace {

// A small appender into a fixed buffer: no allocation, no locale, usable
// inside a signal handler.
struct Line {
  char* out;
  int size;
  int length = 0;
  void add(const char* s) {
    for (; s != nullptr && *s != '\0' && length + 1 < size; ++s) out[length++] = *s;
    out[length] = '\0';
  }
  void add(long v) {
    char digits[24];
    int n = 0;
    const bool negative = v < 0;
    unsigned long u = negative ? 0UL - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
    do {
      digits[n++] = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u != 0 && n < 22);
    if (negative) digits[n++] = '-';
    char text[24];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    text[n] = '\0';
    add(text);
  }
};

const char* kind_name(CallKind k) {
  switch (k) {
    case CallKind::load:
      return "library start-up";
    case CallKind::linkage:
      return "module init or deinit";
    case CallKind::service:
      return "gauge";
    case CallKind::element:
      return "element";
    case CallKind::mouse:
      return "mouse";
    case CallKind::tooltip:
      return "tooltip";
    case CallKind::none:
      break;
  }
  return "no";
}

int g_module_code = 8, g_host_code = 1, g_load_code = 4;
void (*g_flush)(void*) = nullptr;
void* g_flush_context = nullptr;
#if !defined(_WIN32)
struct sigaction g_previous[32];
#endif

const char* signal_name(int s) {
  switch (s) {
    case SIGSEGV:
      return "SIGSEGV";
    case SIGILL:
      return "SIGILL";
    case SIGFPE:
      return "SIGFPE";
    case SIGABRT:
      return "SIGABRT";
#if defined(SIGBUS)
    case SIGBUS:
      return "SIGBUS";
#endif
    default:
      return "signal";
  }
}

void write_error(const char* text, int length) {
#if defined(_WIN32)
  _write(2, text, static_cast<unsigned>(length));
#else
  while (length > 0) {
    const ssize_t n = ::write(2, text, static_cast<std::size_t>(length));
    if (n <= 0) break;
    text += n;
    length -= static_cast<int>(n);
  }
#endif
}

extern "C" void on_fault(int s) {
  const ModuleCall call = g_module_call;
#if !defined(_WIN32)
  if (call.kind == CallKind::none && s >= 0 && s < 32) {
    // The host's own fault: the handler that was there before (the
    // sanitizers', or the default) takes it when the instruction faults again
    // (abort() raises its signal again once a handler returns).
    sigaction(s, &g_previous[s], nullptr);
    return;
  }
#else
  if (call.kind == CallKind::none && s == SIGABRT) {
    // The host's own abort() goes on as it would have.
    std::signal(s, SIG_DFL);
    return;
  }
#endif
  // Best effort: what the trace has written so far reaches its file.
  if (g_flush != nullptr) g_flush(g_flush_context);
  std::fflush(stdout);
  char text[512];
  int n = 0;
  if (call.kind == CallKind::none) {
    Line line{text, static_cast<int>(sizeof text)};
    line.add("orvane-panel: internal fault (");
    line.add(signal_name(s));
    line.add(") outside the module\n");
    n = line.length;
  } else if (call.kind == CallKind::load) {
    Line line{text, static_cast<int>(sizeof text)};
    line.add("orvane-panel: ");
    line.add(call.gauge);
    line.add(": not a loadable library: ");
    line.add(kStartUpCrash);
    line.add(" (");
    line.add(signal_name(s));
    line.add(")\n");
    n = line.length;
  } else {
    Line line{text, static_cast<int>(sizeof text)};
    line.add("orvane-panel: ");
    n = describe_module_call(call, signal_name(s), text + line.length,
                             static_cast<int>(sizeof text) - 2 - line.length);
    n += line.length;
    text[n++] = '\n';
  }
  write_error(text, n);
  std::_Exit(call.kind == CallKind::none   ? g_host_code
             : call.kind == CallKind::load ? g_load_code
                                           : g_module_code);
}

}  // namespace

int describe_module_call(const ModuleCall& call, const char* signal, char* out, int size) {
  if (size <= 0) return 0;
  Line line{out, size};
  line.add("module fault (");
  line.add(signal);
  line.add(") in ");
  line.add(kind_name(call.kind));
  line.add(" callback");
  if (call.gauge != nullptr) {
    line.add(" of gauge ");
    line.add(call.gauge);
  }
  if (call.instance >= 0) {
    line.add(", instance ");
    line.add(static_cast<long>(call.instance));
  }
  if (call.detail >= 0) {
    line.add(call.kind == CallKind::service   ? ", service "
             : call.kind == CallKind::element ? ", element "
                                              : ", mouse record ");
    line.add(static_cast<long>(call.detail));
  }
  return line.length;
}

void set_fault_flush(void (*flush)(void*), void* context) {
  g_flush = flush;
  g_flush_context = context;
}

void install_fault_report(int module_code, int host_code, int load_code) {
  g_module_code = module_code;
  g_host_code = host_code;
  g_load_code = load_code;
#if defined(_WIN32)
  for (int s : {SIGSEGV, SIGILL, SIGFPE, SIGABRT}) std::signal(s, on_fault);
#else
  // The handler runs on its own stack, so a module that overflowed the stack
  // is reported too.
  static char alternate[64 * 1024];
  stack_t st{};
  st.ss_sp = alternate;
  st.ss_size = sizeof alternate;
  sigaltstack(&st, nullptr);
  struct sigaction sa {};
  sa.sa_handler = on_fault;
  sa.sa_flags = SA_ONSTACK;
  sigemptyset(&sa.sa_mask);
  for (int s : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) sigaction(s, &sa, &g_previous[s]);
#endif
}

}  // namespace orv::host
