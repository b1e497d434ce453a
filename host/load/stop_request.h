// A stop asked for from outside the run: the command-line tool's SIGINT and
// SIGTERM handlers record the signal here, and every scenario run looks at it
// before each frame, so a run of any length ends cleanly at a frame boundary.
#pragma once

namespace orv::host {

// Records `signal` (async-signal-safe: a handler may call it).
void request_stop(int signal) noexcept;
// The signal of the stop asked for, 0 when none.
int stop_signal() noexcept;
// Throws HostError(interrupted) naming the signal when a stop was asked for.
void throw_if_stop_requested();

// The reader of standard output went away (a write failed with EPIPE, as in
// `orvane-panel trace | head -1`): the command stops and exits quietly with
// its code so far. Throws HostError(output_closed).
[[noreturn]] void stop_output_closed();
bool output_closed() noexcept;

}  // namespace orv::host
