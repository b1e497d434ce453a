#include "support/gauge_copy.h"

#include "frame/host_services.h"
#include "host/panel/element_kind.h"
#include "host/panel/mouse_routing.h"
#include "support/fake_host.h"

namespace orv::test {

using namespace abi;

GaugeCopy::GaugeCopy(const GaugeHeader& registered, const char* parameters)
    : instance(registered, parameters), header(instance.header()) {}

void GaugeCopy::service(i32 id, uptr extra) {
  if (header.callback != nullptr) header.callback(&header, id, extra);
}

f64 GaugeCopy::evaluate(std::size_t i) {
  ElementHeader* e = element(i);
  auto fill = [](TokenVar& var) {
    if (FakeHost* host = FakeHost::current(); host != nullptr) host->deliver(var);
  };
  f64 values[3] = {};
  host::evaluate_element(e, values, fill, [](const TokenVar&) { return 0.0; });
  // The channel that answers: a slider's y when it has a callback, a
  // sprite's y, else its offset, else its rotation; else the first channel.
  const host::ElementChannels channels = host::element_channels(e);
  const bool y_called = channels.count >= 2 && channels.channel[1].callback != nullptr;
  if (e->kind == kSlider && y_called) return values[1];
  if (e->kind == kSprite)
    return y_called ? values[1] : channels.channel[0].callback != nullptr ? values[0] : values[2];
  return values[0];
}

std::size_t GaugeCopy::find(ElementFn callback, std::size_t n) const {
  for (std::size_t i = 0; i < size(); ++i) {
    for (const host::ElementChannel& c : host::element_channels(element(i)))
      if (c.callback == callback && n-- == 0) return i;
  }
  return size();
}

std::size_t GaugeCopy::find_bitmap(u32 bitmap, std::size_t n) const {
  for (std::size_t i = 0; i < size(); ++i)
    if (element(i)->bitmap == bitmap && n-- == 0) return i;
  return size();
}

MouseRect* GaugeCopy::mouse(u32 kind, std::size_t n) {
  for (MouseRect* r = instance.mouse_rects(); r != nullptr && r->kind != kMouseEnd; ++r)
    if (r->kind == kind && n-- == 0) return r;
  return nullptr;
}

i32 GaugeCopy::click(std::size_t n, u32 flags) {
  MouseRect* rects = instance.mouse_rects();
  const MouseRect* box = mouse(kMouseBox, n);
  if (box == nullptr) return -1;
  const host::MouseBounds b = host::record_bounds(rects, static_cast<int>(box - rects));
  if (b.unbounded) return click_at(0, 0, flags);
  return click_at(b.x + b.w / 2, b.y + b.h / 2, flags);
}

i32 GaugeCopy::click_at(int x, int y, u32 flags) {
  MouseRect* rects = instance.mouse_rects();
  const host::MouseHit hit = host::click_target(rects, x, y, flags);
  if (hit.rect < 0) return -1;
  MouseRect& box = rects[hit.rect];
  if (box.event != 0) {
    send_key_event(box.event, 0);
    return 0;
  }
  if (box.action.fn == nullptr) return -1;
  Click record{};
  record.gauge = &header;
  record.rect = &box;
  record.point = {hit.bounds.unbounded ? x : x - hit.bounds.x, hit.bounds.unbounded ? y : y - hit.bounds.y};
  return box.action.fn(&record, flags);
}

const char* GaugeCopy::tooltip_text(std::size_t arg) {
  MouseRect* tip = mouse(kMouseTooltip);
  if (tip == nullptr || tip->args == nullptr || arg >= tip->event) return nullptr;
  return tip->args[arg].string_callback(0.0, 0, nullptr, nullptr, &header);
}

f64 GaugeCopy::tooltip_number(std::size_t arg) {
  MouseRect* tip = mouse(kMouseTooltip);
  if (tip == nullptr || tip->args == nullptr || arg >= tip->event) return -1.0;
  return tip->args[arg].numeric_callback(0.0, 0, nullptr, nullptr, &header);
}

std::string repeated(const std::string& pattern, std::size_t size) {
  std::string s;
  while (s.size() < size) s += pattern;
  s.resize(size);
  return s;
}

}  // namespace orv::test
