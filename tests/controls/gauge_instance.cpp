#include "controls/gauge_instance.h"

#include "frame/host_services.h"

namespace orv::test {

using namespace abi;

namespace {

constexpr std::size_t kGuard = 16;
constexpr char kGuardByte = '\x5A';

std::size_t element_size(u32 kind) {
  switch (kind) {
    case kStaticImage:
      return sizeof(StaticElement);
    case kNeedle:
      return sizeof(NeedleElement);
    case kText:
      return sizeof(TextElement);
    case kSlider:
      return sizeof(SliderElement);
    case kIcon:
      return sizeof(IconElement);
    case kMovingImage:
      return sizeof(MovingImageElement);
    case kSprite:
      return sizeof(SpriteElement);
    default:
      return sizeof(ElementHeader);
  }
}

bool guard_ok(const std::vector<char>& bytes, std::size_t begin, std::size_t end) {
  for (std::size_t i = begin; i < end; ++i)
    if (bytes[i] != kGuardByte) return false;
  return true;
}

}  // namespace

GaugeInstance::GaugeInstance(const GaugeHeader& registered, const char* parameters) : header(registered) {
  if (parameters != nullptr) {
    parameter_size_ = std::strlen(parameters) + 1;
    parameter_storage_.assign(parameter_size_ + 2 * kGuard, kGuardByte);
    std::memcpy(parameter_storage_.data() + kGuard, parameters, parameter_size_);
    header.parameters = parameter_storage_.data() + kGuard;
  } else {
    header.parameters = nullptr;
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

ElementHeader** GaugeInstance::copy_list(ElementHeader* const* list) {
  if (list == nullptr) return nullptr;
  std::size_t n = 0;
  while (list[n] != nullptr) ++n;
  auto copy = std::make_unique<ElementHeader*[]>(n + 1);
  ElementHeader** result = copy.get();
  lists_.push_back(std::move(copy));
  for (std::size_t i = 0; i < n; ++i) result[i] = copy_element(list[i]);
  result[n] = nullptr;
  return result;
}

ElementHeader* GaugeInstance::copy_element(const ElementHeader* e) {
  const std::size_t size = element_size(e->kind);
  auto bytes = std::make_unique<unsigned char[]>(size);
  std::memcpy(bytes.get(), e, size);
  auto* copy = reinterpret_cast<ElementHeader*>(bytes.get());
  storage_.push_back(std::move(bytes));
  copy->gauge = &header;
  if (copy->kind == kText) {
    auto* text = reinterpret_cast<TextElement*>(copy);
    auto buffer = std::make_unique<Buffer>();
    buffer->size = static_cast<std::size_t>(text->max_chars) + 1;
    buffer->bytes.assign(buffer->size + 2 * kGuard, kGuardByte);
    buffer->bytes[kGuard] = '\0';
    text->text = buffer->bytes.data() + kGuard;
    text_buffers_.push_back(std::move(buffer));
  }
  elements_.push_back(copy);
  copy->next = copy_list(e->next);
  return copy;
}

void GaugeInstance::service(i32 id, uptr extra) {
  if (header.callback != nullptr) header.callback(&header, id, extra);
}

MouseRect* GaugeInstance::mouse(u32 kind, std::size_t n) {
  for (MouseRect& r : mouse_) {
    if (r.kind == kind && n-- == 0) return &r;
  }
  return nullptr;
}

i32 GaugeInstance::click(std::size_t n, u32 flags) {
  MouseRect* box = mouse(kMouseBox, n);
  if (box == nullptr) return -1;
  if (box->event != 0) {
    send_key_event(box->event, 0);
    return 0;
  }
  Click record{};
  record.gauge = &header;
  record.rect = box;
  return box->action.fn(&record, flags);
}

const char* GaugeInstance::tooltip_text(std::size_t arg) {
  MouseRect* tip = mouse(kMouseTooltip);
  if (tip == nullptr || tip->args == nullptr || arg >= tip->event) return nullptr;
  return tip->args[arg].string_callback(0.0, 0, nullptr, nullptr, &header);
}

f64 GaugeInstance::tooltip_number(std::size_t arg) {
  MouseRect* tip = mouse(kMouseTooltip);
  if (tip == nullptr || tip->args == nullptr || arg >= tip->event) return -1.0;
  return tip->args[arg].numeric_callback(0.0, 0, nullptr, nullptr, &header);
}

std::vector<char> GaugeInstance::parameter_bytes() const {
  if (header.parameters == nullptr) return {};
  return std::vector<char>(header.parameters, header.parameters + parameter_size_);
}

bool GaugeInstance::guards_intact() const {
  if (!parameter_storage_.empty()) {
    if (!guard_ok(parameter_storage_, 0, kGuard) ||
        !guard_ok(parameter_storage_, kGuard + parameter_size_, parameter_storage_.size()))
      return false;
  }
  for (const auto& b : text_buffers_) {
    if (!guard_ok(b->bytes, 0, kGuard) || !guard_ok(b->bytes, kGuard + b->size, b->bytes.size()))
      return false;
  }
  return true;
}

std::string repeated(const std::string& pattern, std::size_t size) {
  std::string s;
  while (s.size() < size) s += pattern;
  s.resize(size);
  return s;
}

}  // namespace orv::test
