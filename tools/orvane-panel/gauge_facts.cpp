#include "gauge_facts.h"

#include <cstdio>

#include "commands.h"
#include "host/panel/element_kind.h"
#include "host/panel/mouse_routing.h"
#include "host/scenario/scenario.h"
#include "probe.h"

namespace orv::panel_tool {

using namespace orv::host;

std::string hex(std::uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", v);
  return buffer;
}

std::vector<GaugeFacts> gather_facts(Module& module, const std::vector<std::string>& names, SimState& state) {
  Host host(module, state);
  // All in window 0, open, so that their elements run as on a panel.
  for (const std::string& n : names) host.add_instance(n, 0, 0, 0);
  state.open_window(0);
  // Records as loaded, before any callback could change the copies.
  std::vector<GaugeFacts> facts(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    PlacedInstance& p = host.instances()[i];
    GaugeFacts& g = facts[i];
    g.name = names[i];
    g.width = p.width;
    g.height = p.height;
    g.bitmap_width = p.bitmap_width;
    g.bitmap_height = p.bitmap_height;
    for (const ElementSlot& slot : p.gauge->elements()) {
      ++g.kinds[element_kind_name(slot.element->kind)];
      for (const ElementChannel& c : element_channels(slot.element))
        if (c.source->id != 0) g.tokens.insert(c.source->id);
    }
    for (const MouseRecord& r :
         mouse_records(p.gauge->mouse_rects(), p.bitmap_width > 0 ? p.bitmap_width : p.width,
                       p.bitmap_width > 0 ? p.bitmap_height : p.height)) {
      const auto kind = r.rect->kind;
      MouseFact m;
      m.index = r.index;
      m.kind = mouse_kind_name(kind);
      m.whole = r.whole;
      m.x = r.x;
      m.y = r.y;
      m.w = r.w;
      m.h = r.h;
      m.cursor = r.rect->cursor;
      m.flags = r.rect->flags;
      m.help_id = r.rect->help_id;
      m.event = kind == abi::kMouseTooltip ? 0 : r.rect->event;
      if (kind == abi::kMouseTooltip && r.rect->action.text != nullptr) m.tooltip = r.rect->action.text;
      g.mouse.push_back(std::move(m));
    }
  }
  const Scenario scenario = parse_scenario(kDefaultScenario, "built-in scenario", "");
  const auto probed = probe_clicks(host, scenario);
  for (std::size_t i = 0; i < names.size(); ++i) {
    facts[i].events = probed[i].events;
    facts[i].opens = probed[i].opened;
    facts[i].closes = probed[i].closed;
  }
  return facts;
}

}  // namespace orv::panel_tool
