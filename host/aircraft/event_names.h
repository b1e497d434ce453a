// Readable names of the key events the instruments send, for the trace. The
// names describe what the event does in this cockpit (the host's effect, or
// the control that sends it); an event is always shown by its number too.
#pragma once

#include <cstdint>
#include <span>

namespace orv::host {

struct EventInfo {
  std::uint32_t id = 0;
  const char* name = "";
};

// The name of key event `id`, or null when it has none.
const char* event_name(std::uint32_t id);

// Every named event, by number.
std::span<const EventInfo> event_table();

}  // namespace orv::host
