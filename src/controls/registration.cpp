// The registration plate: one line of up to seven characters, the aircraft's
// ATC identifier or a fixed text, with underscores shown as blanks.
//
// Parameters:
//   t<text>  a fixed text, only as the very first key ("tF_ABCD")
//   r, g, b  text colour components 0..255 (larger or negative: 255)
//   f<font>  font face, all the rest of the string, so it comes last; the
//            string is ended at the "f" so the font cannot be read as keys
// Before the first update has fetched the identifier the plate is empty.
#include <cstring>

#include "controls/control_state.h"
#include "controls/parameters.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

const char* atc_id_text = nullptr;

namespace {

constexpr const char* kAtcIdExpression = "(A:ATC ID,string)";

TextElement* plate_text_element(GaugeHeader* gauge) {
  ElementHeader* background = gauge->elements != nullptr ? gauge->elements[0] : nullptr;
  ElementHeader* text = first_following(background);
  return (text != nullptr && text->kind == kText) ? reinterpret_cast<TextElement*>(text) : nullptr;
}

// One colour component: the key's value, or `current` when the key is
// absent; anything above 255 (negative values included) is 255.
u32 colour_component(const char* parameters, const char* key, u32 current) {
  const char* value = find_key(parameters, key);
  if (value == nullptr) return current;
  const auto component = static_cast<u32>(leading_int(value));
  return component > 255 ? 255 : component;
}

void apply_plate_parameters(GaugeHeader* gauge) {
  char* parameters = gauge->parameters;
  if (parameters == nullptr || parameters[0] == '\0') return;
  TextElement* text = plate_text_element(gauge);
  if (text == nullptr) return;

  if (const char* font = find_key(parameters, "f")) {
    const std::size_t length = strnlen(font, sizeof text->font - 1);
    std::memcpy(text->font, font, length);
    text->font[length] = '\0';
    parameters[font - 1 - parameters] = '\0';
  }

  const u32 colour = text->text_colour;
  const u32 red = colour_component(parameters, "r", colour & 0xFF);
  const u32 green = colour_component(parameters, "g", (colour >> 8) & 0xFF);
  const u32 blue = colour_component(parameters, "b", (colour >> 16) & 0xFF);
  text->text_colour = red | green << 8 | blue << 16;
}

void ORV_CALL registration_callback(GaugeHeader* gauge, i32 service, uptr) {
  if (gauge == nullptr) return;
  if (service == kServiceInstall) apply_plate_parameters(gauge);
  if (service == kServicePreUpdate) evaluate_expression(kAtcIdExpression, nullptr, &atc_id_text);
}

f64 plate_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const char* parameters = e->h.gauge != nullptr ? e->h.gauge->parameters : nullptr;
  // The text key counts only as the very first key.
  const char* source = (parameters != nullptr && parameters[0] == 't') ? parameters + 1 : atc_id_text;
  if (source == nullptr) source = "";
  // The text as it fits the field; before any comment character, its first
  // blank ends it and underscores show as blanks (the characters after the
  // end are copied all the same).
  if (char* out = e->text) {
    int n = 0, end = -1;
    bool scanning = true;
    for (; n < e->max_chars && source[n] != '\0'; ++n) {
      char c = source[n];
      if (scanning) {
        if (is_comment(c)) {
          scanning = false;
        } else if (c == ' ') {
          scanning = false;
          end = n;
        } else if (c == '_') {
          c = ' ';
        }
      }
      out[n] = c;
    }
    out[n] = '\0';
    if (end >= 0) out[end] = '\0';
  }
  return channel_f64(e->source[0]);
}

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::registration_records {

using namespace orv::controls;
using namespace orv::records;

constinit Chain chain{registration, static_image({.bitmap = 50}),
                      text({.at = {0, 0},
                            .box = {150, 25},
                            .chars = 7,
                            .callback = calls<plate_text>,
                            .font = "Arial",
                            .colour = 0xFFFFFF,
                            .background = 0x5C5C5C,
                            .flags = 0})};  // no black keying: the grey plate is painted

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Registration number"),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::registration_records

ORV_DEFINE_GAUGE(registration, registration_records::chain.first, registration_records::mouse,
                 orv::controls::registration_callback)
