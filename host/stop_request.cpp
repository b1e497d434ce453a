#include "stop_request.h"

#include <csignal>
#include <string>

#include "host_error.h"

namespace orv::host {

namespace {

volatile std::sig_atomic_t g_signal = 0;

}  // namespace

void request_stop(int signal) noexcept { g_signal = signal; }

int stop_signal() noexcept { return g_signal; }

void throw_if_stop_requested() {
  const int s = g_signal;
  if (s == 0) return;
  const char* name = s == SIGINT ? "SIGINT" : s == SIGTERM ? "SIGTERM" : "a signal";
  throw HostError(ErrorKind::interrupted, std::string("stopped by ") + name);
}

}  // namespace orv::host
