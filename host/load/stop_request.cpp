#include "host/load/stop_request.h"

#include <csignal>
#include <string>

#include "host/load/host_error.h"

namespace orv::host {

namespace {

volatile std::sig_atomic_t g_signal = 0;
bool g_output_closed = false;

}  // namespace

void request_stop(int signal) noexcept { g_signal = signal; }

int stop_signal() noexcept { return g_signal; }

void throw_if_stop_requested() {
  const int s = g_signal;
  if (s == 0) return;
  const char* name = s == SIGINT ? "SIGINT" : s == SIGTERM ? "SIGTERM" : "a signal";
  throw HostError(ErrorKind::interrupted, std::string("stopped by ") + name);
}

void stop_output_closed() {
  g_output_closed = true;
  throw HostError(ErrorKind::output_closed, "standard output: the reader closed it");
}

bool output_closed() noexcept { return g_output_closed; }

}  // namespace orv::host
