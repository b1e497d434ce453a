#include "support/gauge_copy.h"

#include <cstring>

#include "frame/host_services.h"
#include "support/fake_host.h"

namespace orv::test {

using namespace abi;

namespace {

constexpr std::size_t kGuard = 16;
constexpr char kGuardByte = '\x5A';

}  // namespace

char* GaugeCopy::Guarded::data() { return bytes.data() + kGuard; }

bool GaugeCopy::Guarded::intact() const {
  for (std::size_t k = 0; k < kGuard; ++k)
    if (bytes[k] != kGuardByte || bytes[kGuard + size + k] != kGuardByte) return false;
  return true;
}

char* GaugeCopy::guarded(std::size_t size) {
  auto b = std::make_unique<Guarded>();
  b->bytes.assign(size + 2 * kGuard, kGuardByte);
  b->size = size;
  std::memset(b->data(), 0, size);
  buffers_.push_back(std::move(b));
  return buffers_.back()->data();
}

GaugeCopy::GaugeCopy(const GaugeHeader& registered, const char* parameters) : header(registered) {
  header.parameters = nullptr;
  if (parameters != nullptr) {
    parameter_size_ = std::strlen(parameters) + 1;
    header.parameters = guarded(parameter_size_);
    std::memcpy(header.parameters, parameters, parameter_size_);
  }
  header.elements = copy_list(registered.elements);
  if (registered.mouse_rects != nullptr) {
    for (const MouseRect* r = registered.mouse_rects;; ++r) {
      mouse_.push_back(*r);
      if (r->kind == kMouseEnd) break;
    }
    header.mouse_rects = mouse_.data();
  }
}

ElementHeader** GaugeCopy::copy_list(ElementHeader* const* list) {
  if (list == nullptr) return nullptr;
  std::size_t n = 0;
  while (list[n] != nullptr) ++n;
  lists_.push_back(std::make_unique<ElementHeader*[]>(n + 1));
  ElementHeader** result = lists_.back().get();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t size = element_record_size(list[i]->kind);
    storage_.push_back(std::make_unique<std::uint64_t[]>((size + 7) / 8));
    auto* copy = reinterpret_cast<ElementHeader*>(storage_.back().get());
    std::memcpy(copy, list[i], size);
    copy->gauge = &header;
    if (copy->kind == kText) {
      auto* text = reinterpret_cast<TextElement*>(copy);
      text->text = guarded(static_cast<std::size_t>(text->max_chars) + 1);
    }
    result[i] = copy;
    elements_.push_back(copy);
    originals_.push_back(list[i]);
    copy->next = copy_list(list[i]->next);
  }
  result[n] = nullptr;
  return result;
}

void GaugeCopy::service(i32 id, uptr extra) {
  if (header.callback != nullptr) header.callback(&header, id, extra);
}

f64 GaugeCopy::evaluate(std::size_t i) {
  auto fill = [](TokenVar& var) {
    if (FakeHost* host = FakeHost::current(); host != nullptr && var.id != 0) host->deliver(var);
  };
  void* raw = element(i);
  auto call = [raw](ElementFn fn) { return fn != nullptr ? fn(raw) : 0.0; };
  switch (element(i)->kind) {
    case kNeedle:
      fill(as<NeedleElement>(i)->source);
      return call(as<NeedleElement>(i)->callback);
    case kText:
      for (TokenVar& source : as<TextElement>(i)->source) fill(source);
      return call(as<TextElement>(i)->callback[0]);
    case kSlider: {
      auto* e = as<SliderElement>(i);
      fill(e->x);
      fill(e->y);
      const f64 x = call(e->x_callback);
      return e->y_callback != nullptr ? call(e->y_callback) : x;
    }
    case kIcon:
      fill(as<IconElement>(i)->source);
      return call(as<IconElement>(i)->callback);
    case kMovingImage:
      fill(as<MovingImageElement>(i)->x);
      fill(as<MovingImageElement>(i)->y);
      return call(as<MovingImageElement>(i)->x_callback);
    case kSprite: {
      // Every channel's callback runs, as the host runs them; the result is
      // the y channel's, else the offset's, else the rotation's.
      auto* e = as<SpriteElement>(i);
      fill(e->x);
      fill(e->y);
      fill(e->angle);
      const f64 x = call(e->x_callback), y = call(e->y_callback), angle = call(e->angle_callback);
      return e->y_callback != nullptr ? y : e->x_callback != nullptr ? x : angle;
    }
    default:
      return 0.0;
  }
}

MouseRect* GaugeCopy::mouse(u32 kind, std::size_t n) {
  for (MouseRect& r : mouse_)
    if (r.kind == kind && n-- == 0) return &r;
  return nullptr;
}

i32 GaugeCopy::click(std::size_t n, u32 flags) {
  MouseRect* box = mouse(kMouseBox, n);
  if (box == nullptr || (box->flags & flags) == 0) return -1;
  if (box->event != 0) {
    send_key_event(box->event, 0);
    return 0;
  }
  Click record{};
  record.gauge = &header;
  record.rect = box;
  return box->action.fn(&record, flags);
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

std::vector<char> GaugeCopy::parameter_bytes() const {
  if (parameter_size_ == 0) return {};
  const char* begin = buffers_.front()->bytes.data() + kGuard;
  return std::vector<char>(begin, begin + parameter_size_);
}

bool GaugeCopy::guards_intact() const {
  for (const auto& b : buffers_)
    if (!b->intact()) return false;
  return true;
}

std::string repeated(const std::string& pattern, std::size_t size) {
  std::string s;
  while (s.size() < size) s += pattern;
  s.resize(size);
  return s;
}

}  // namespace orv::test
