// The Radar gauge: the traffic radar screen. It carries the radar display in
// its header's user word from service 14 to 15, has it draw the traffic
// picture into the drawing surface about once a second (every 18th tick),
// shows the range in a corner readout, doubles or halves the range with two
// buttons, and shows the description of the aircraft under the mouse as the
// picture's tooltip.
#include <cmath>
#include <new>

#include "frame/elements.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"
#include "sound/sound.h"
#include "traffic/radar_display.h"

namespace orv::traffic {

namespace {

constexpr u32 kTickToken = 1;
constexpr long long kTicksPerPicture = 18;
constexpr double kDesignSize = 286.0;

RadarDisplay* display_of(const GaugeHeader* gauge) {
  return gauge == nullptr ? nullptr : reinterpret_cast<RadarDisplay*>(gauge->user_word);
}

void ORV_CALL radar_callback(GaugeHeader* gauge, i32 service, uptr extra) {
  RadarDisplay* display = display_of(gauge);
  switch (service) {
    case kServiceInstall:
      sound::set_up_channel(sound::channels::radar, extra);
      break;
    case kServicePostInstall: {
      ElementHeader* first = gauge != nullptr && gauge->elements != nullptr ? gauge->elements[0] : nullptr;
      ElementHeader* surface = first_following(first);
      if (surface != nullptr && display != nullptr) display->set_up(surface, kDesignSize, kDesignSize);
      break;
    }
    case kServicePreUpdate: {
      const double tick = read_token_f64(kTickToken);
      if (!(std::fabs(tick) < 9.0e18)) break;  // no integer to test
      if (static_cast<long long>(tick) % kTicksPerPicture == 0 && display != nullptr) display->draw_picture();
      break;
    }
    case kServicePreKill:
      sound::release_channel(sound::channels::radar);
      if (display != nullptr) display->release();
      break;
    case kServicePanelOpen:
      if (gauge == nullptr) break;
      delete display;  // a second start-up without shutdown replaces the display
      gauge->user_word = reinterpret_cast<uptr>(new (std::nothrow) RadarDisplay());
      break;
    case kServicePanelClose:
      if (gauge == nullptr) break;
      delete display;
      gauge->user_word = 0;
      break;
    default:
      break;
  }
}

// The range readout: "120 nm", " 60 nm", "7.5 nm".
f64 range_text(TextElement* e) {
  const RadarDisplay* display = display_of(e->h.gauge);
  if (display == nullptr) return 0.0;
  const double r = display->range();
  if (r >= 100.0) {
    write_number<"%3.0f nm">(e, r);
  } else if (r >= 10.0) {
    write_number<"% 2.0f nm">(e, r);
  } else {
    write_number<"%1.1f nm">(e, r);
  }
  return r;
}

i32 ORV_CALL track_cursor(Click* click, u32) {
  if (click == nullptr || click->rect == nullptr) return 0;
  RadarDisplay* display = display_of(click->gauge);
  const PixBox& box = click->rect->box;
  if (display == nullptr || box.w <= 0 || box.h <= 0) return 0;
  display->set_cursor(static_cast<double>(click->point.x) / box.w,
                      static_cast<double>(click->point.y) / box.h);
  return 0;
}

i32 ORV_CALL range_up(Click* click, u32) {
  if (RadarDisplay* display = click != nullptr ? display_of(click->gauge) : nullptr) display->double_range();
  return 0;
}

i32 ORV_CALL range_down(Click* click, u32) {
  if (RadarDisplay* display = click != nullptr ? display_of(click->gauge) : nullptr) display->halve_range();
  return 0;
}

const char* ORV_CALL hover_label(f64, u32, const char*, TokenVar*, GaugeHeader* gauge) {
  const RadarDisplay* display = display_of(gauge);
  return display != nullptr ? display->label() : nullptr;
}

f64 ORV_CALL range_number(f64, u32, const char*, TokenVar*, GaugeHeader* gauge) {
  const RadarDisplay* display = display_of(gauge);
  return display != nullptr ? display->range() : 0.0;
}

}  // namespace

}  // namespace orv::traffic

namespace orv::gauges::radar_records {

using namespace orv::records;
using orv::traffic::hover_label;
using orv::traffic::range_number;

// The drawing surface: the host gives a static image with these bits an image
// and a device context to draw into.
constexpr u32 kDrawingSurface = 0x26;
constexpr u32 kReadoutGreen = 0x0000FF00;

constinit Chain chain{radar, static_image({.bitmap = 3000, .flags = 0x3}),
                      static_image({.bitmap = 3010, .at = {2, 3}, .flags = kDrawingSurface}),
                      text({.at = {3, 3},
                            .box = {50, 16},
                            .chars = 6,
                            .callback = calls<orv::traffic::range_text>,
                            .font = "Quartz",
                            .weight = 400,
                            .charset = 1,
                            .format = 0x25,
                            .colour = kReadoutGreen,
                            .background = 0x00000000,
                            .highlight = kReadoutGreen})};

// Shared by both tooltips: 1 the hover label, 2 the range; the third is
// referenced by neither text.
constinit MouseArg tooltip_args[] = {text_argument(hover_label), number_argument(range_number),
                                     number_argument(nullptr)};

constinit MouseRect mouse[] = {
    whole_gauge_area(),
    area({2, 3, 286, 286}),
    tooltip("%1!s!", tooltip_args),
    click_box({0, 0, 286, 286}, abi::kCursorNormal, abi::kMouseMove, orv::traffic::track_cursor),
    area_end(),
    area({259, 245, 24, 43}),
    tooltip("Range: %2!.0f!", tooltip_args),
    click_box({0, 0, 24, 20}, abi::kCursorUp, abi::kMouseLeftSingle, orv::traffic::range_up),
    click_box({0, 23, 24, 20}, abi::kCursorDown, abi::kMouseLeftSingle, orv::traffic::range_down),
    area_end(),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::radar_records

ORV_DEFINE_GAUGE(radar, radar_records::chain.first, radar_records::mouse, orv::traffic::radar_callback)
