// Multi_Function_Display_Right: the right-hand multi-function display. One
// gauge, three pages chosen by `right_mfd_page`: 1 the controls page, 2 the
// engine page, 3 the navigation circle page (the page after start-up).
//
// The records below are the display as the host sees it: one chain of
// elements in drawing order over the dark face, the mouse list with the
// heading bug tooltip and the two halves of the course text, and the gauge
// callback, which only prepares and releases the display's sound channel
// (nothing on the display clicks).
#include "frame/records.h"
#include "frame/registry.h"
#include "mfd/right/right_pages.h"
#include "sound/sound.h"

namespace orv::mfd::right {
namespace {

void ORV_CALL right_display_callback(abi::GaugeHeader*, i32 service, abi::uptr extra) {
  if (service == abi::kServiceInstall)
    sound::set_up_channel(sound::channels::multi_function_display_right, extra);
  if (service == abi::kServicePreKill) sound::release_channel(sound::channels::multi_function_display_right);
}

}  // namespace
}  // namespace orv::mfd::right

namespace orv::gauges::multi_function_display_right_records {

using namespace orv::records;
using namespace orv::mfd::right;
using orv::mfd::egt_left_c;
using orv::mfd::egt_right_c;
using orv::mfd::ff_left_kg_min;
using orv::mfd::ff_right_kg_min;
using orv::mfd::n1_left_pct;
using orv::mfd::n1_right_pct;
using orv::mfd::n2_left_pct;
using orv::mfd::n2_right_pct;

namespace {

// --- Text fields --------------------------------------------------------------------

constexpr char kFont[] = "Geneva";
constexpr u8 kDefaultCharset = 1;

// Colours, 0x00BBGGRR.
constexpr u32 kWhite = 0x00FFFFFF;
constexpr u32 kGreen = 0x0000FF00;      // (0,255,0)
constexpr u32 kNav2Green = 0x0028FF07;  // (7,255,40)
constexpr u32 kCyan = 0x00FFFF00;       // (0,255,255)
constexpr u32 kYellow = 0x0000FFFF;     // (255,255,0)

// Alignment: centred on one line, right or left on one line, or left and
// top.
constexpr u32 kCentred = abi::kTextCentre | abi::kTextVCentre | abi::kTextSingleLine;  // 0x25
constexpr u32 kRight = abi::kTextRight | abi::kTextVCentre | abi::kTextSingleLine;     // 0x26
constexpr u32 kLeft = abi::kTextVCentre | abi::kTextSingleLine;                        // 0x24
constexpr u32 kLeftTop = abi::kTextSingleLine;                                         // 0x20

// A text field of this display: Geneva, weight 400, on black, in one colour.
constexpr TextElement field(PixPoint at, PixPoint box, u16 chars, u32 format, u32 colour, u32 token,
                            ElementCallback<TextElement> callback, u32 second_token = 0) {
  TextElement e = text({.at = at,
                        .box = box,
                        .chars = chars,
                        .callback = callback,
                        .token = token,
                        .font = kFont,
                        .weight = 400,
                        .charset = kDefaultCharset,
                        .format = format,
                        .colour = colour,
                        .background = 0x00000000,
                        .highlight = colour});
  e.source[1] = orv::token(second_token);
  return e;
}

// --- Navigation circle page ------------------------------------------------------------

// Every needle of the page turns about the centre of the rose.
constexpr PixPoint kRoseCentre{147, 145};
constexpr PixPoint kRoseSpriteAt{40, 39};

// Value 0 straight above the centre, 180 straight below: a value is an angle
// in degrees clockwise from straight up.
NeedlePoint compass_table[] = {{{147, 45}, 0.0, 0.0}, {{147, 245}, 180.0, 0.0}};

constexpr SpriteElement deviation_bar(u32 bitmap, ElementCallback<SpriteElement> offset) {
  return sprite({.bitmap = bitmap,
                 .at = kRoseSpriteAt,
                 .centre = kRoseCentre,
                 .x_token = 849,
                 .x_callback = offset,
                 .x_scale = -50.0,
                 .angle_token = 854,
                 .angle_callback = calls<bar_rotation>,
                 .angle_scale = -1.0});
}

// --- Engine page -----------------------------------------------------------------------

// Wedge bitmaps: quarter discs of radius 31 about their lower-left corner.
constexpr u32 kRedWedge = 2200;
constexpr u32 kAmberWedge = 2190;
constexpr u32 kGreenWedge = 2180;
constexpr PixPoint kWedgePivot{0, 31};

// Each dial's two-point table: both points 22 pixels below the centre, the
// first 21 to the left, the second 22 to the right, so the scale runs
// clockwise over the top through about 270 degrees.
// clang-format off
//                                   first point       value         second point      value
NeedlePoint n1_left_table[]   = {{{49, 59},   0.0, 0.0},   {{92, 59},   110.0, 0.0}};
NeedlePoint n1_right_table[]  = {{{195, 59},  0.0, 0.0},   {{238, 59},  110.0, 0.0}};
NeedlePoint egt_left_table[]  = {{{49, 124},  200.0, 0.0}, {{92, 124},  1400.0, 0.0}};
NeedlePoint egt_right_table[] = {{{195, 124}, 200.0, 0.0}, {{238, 124}, 1400.0, 0.0}};
NeedlePoint n2_left_table[]   = {{{49, 189},  0.0, 0.0},   {{92, 189},  110.0, 0.0}};
NeedlePoint n2_right_table[]  = {{{195, 189}, 0.0, 0.0},   {{238, 189}, 110.0, 0.0}};
NeedlePoint ff_left_table[]   = {{{49, 254},  0.0, 0.0},   {{92, 254},  220.0, 0.0}};
NeedlePoint ff_right_table[]  = {{{195, 254}, 0.0, 0.0},   {{238, 254}, 220.0, 0.0}};
// clang-format on

// One dial: its centre, token, value, table and caps.
struct DialSpec {
  PixPoint centre;
  u32 token;
  f64& value;
  NeedlePoint (&table)[2];
  const DialCaps& caps;
  bool wedges_copy_token;  // the first two wedges copy the token into the value
};

constexpr DialSpec kFfRight{{216, 232}, 657, ff_right_kg_min, ff_right_table, kFuelFlowCaps, false};
constexpr DialSpec kFfLeft{{70, 232}, 638, ff_left_kg_min, ff_left_table, kFuelFlowCaps, false};
constexpr DialSpec kEgtRight{{216, 102}, 577, egt_right_c, egt_right_table, kEgtCaps, false};
constexpr DialSpec kEgtLeft{{70, 102}, 567, egt_left_c, egt_left_table, kEgtCaps, false};
constexpr DialSpec kN2Right{{216, 167}, 644, n2_right_pct, n2_right_table, kSpoolCaps, true};
constexpr DialSpec kN2Left{{70, 167}, 625, n2_left_pct, n2_left_table, kSpoolCaps, true};
constexpr DialSpec kN1Right{{216, 37}, 643, n1_right_pct, n1_right_table, kSpoolCaps, true};
constexpr DialSpec kN1Left{{70, 37}, 624, n1_left_pct, n1_left_table, kSpoolCaps, true};

// The wedge of `dial` stopped at cap `cap` (1..5): red for the fifth cap,
// amber for the fourth, green below.
template <const DialSpec& dial, int cap>
constexpr NeedleElement wedge_of() {
  constexpr u32 bitmap = cap == 5 ? kRedWedge : cap == 4 ? kAmberWedge : kGreenWedge;
  constexpr bool copies = dial.wedges_copy_token && cap <= 2;
  return needle({.bitmap = bitmap,
                 .at = dial.centre,
                 .pivot = kWedgePivot,
                 .table = needle_table(dial.table),
                 .token = dial.token,
                 .callback = calls<wedge<dial.value, dial.caps, cap - 1, copies>>,
                 .flags = 0x87});
}

// --- Controls page ---------------------------------------------------------------------

constexpr IconElement page_icon_at(u32 bitmap, PixPoint at, ElementCallback<IconElement> callback,
                                   u32 token = 0, i32 images = 1) {
  return icon({.bitmap = bitmap, .at = at, .token = token, .callback = callback, .images = images});
}

// --- The chain ---------------------------------------------------------------------------

// clang-format off
constinit Chain chain{multi_function_display_right,
    static_image({.bitmap = 2000}),  // the dark face

    // Navigation circle page (page 3)
    page_icon_at(2010, {0, 0}, calls<nav_circle_face>),  // fixed marks
    sprite({.bitmap = 2020, .at = kRoseSpriteAt, .centre = kRoseCentre,
            .angle_token = 84, .angle_callback = calls<compass_rose>, .angle_scale = 1.0}),
    page_icon_at(2030, {253, 83}, calls<glide_slope_scale>, 852),
    slider({.bitmap = 2040, .at = {257, 134}, .x_token = 852, .x_scale = 1.0,
            .y_token = 850, .y_callback = calls<glide_slope_diamond>, .y_scale = 56.0}),
    needle({.bitmap = 2050, .at = kRoseCentre, .pivot = {0, 12},
            .table = needle_table(compass_table), .token = 855, .callback = calls<heading_bug>}),
    needle({.bitmap = 2070, .at = kRoseCentre, .pivot = {114, 11},
            .table = needle_table(compass_table), .token = 39, .callback = calls<adf_pointer>}),
    needle({.bitmap = 2060, .at = kRoseCentre, .pivot = {65, 95},
            .token = 854, .callback = calls<course_pointer>}),
    deviation_bar(2090, calls<hollow_bar_offset>),
    deviation_bar(2080, calls<filled_bar_offset>),
    needle({.bitmap = 2100, .at = kRoseCentre, .pivot = {9, 34},
            .token = 853, .callback = calls<to_from_pointer>}),
    needle({.bitmap = 2110, .at = kRoseCentre, .pivot = {114, 14},
            .table = needle_table(compass_table), .token = 59, .callback = calls<nav2_pointer>}),
    page_icon_at(2120, {129, 128}, calls<nav_circle_face>),  // aircraft symbol
    //     at          box       chars align     colour      token  callback
    field({192, 5},   {84, 24}, 7,    kRight,   kWhite,     45,    calls<course_text>),
    field({119, 0},   {54, 24}, 3,    kCentred, kWhite,     84,    calls<heading_text>),
    field({245, 227}, {36, 24}, 4,    kLeft,    kNav2Green, 56,    calls<nav2_ident_text>),
    field({10, 227},  {36, 24}, 4,    kLeft,    kWhite,     47,    calls<nav1_ident_text>),
    field({10, 5},    {36, 24}, 3,    kLeft,    kCyan,      19,    calls<adf_ident_text>),
    field({10, 23},   {72, 24}, 6,    kLeft,    kCyan,      16,    calls<adf_frequency_text>, 18),
    field({10, 245},  {72, 24}, 6,    kLeft,    kWhite,     24,    calls<nav1_frequency_text>),
    field({209, 245}, {72, 24}, 6,    kRight,   kNav2Green, 27,    calls<nav2_frequency_text>),
    field({10, 264},  {96, 24}, 8,    kLeft,    kWhite,     31,    calls<nav1_distance_text>),
    field({185, 264}, {96, 24}, 8,    kRight,   kNav2Green, 35,    calls<nav2_distance_text>),
    field({201, 30},  {60, 30}, 3,    kRight,   kYellow,    74,    calls<altitude_hundreds_text>),
    field({263, 33},  {28, 23}, 2,    kLeft,    kYellow,    74,    calls<altitude_last_two_text>),
    field({0, 65},    {80, 30}, 7,    kLeft,    kYellow,    61,    calls<airspeed_text>),

    // Engine page (page 2): each dial's wedges, red first, then the overlay
    wedge_of<kFfRight, 5>(),  wedge_of<kFfRight, 4>(),  wedge_of<kFfRight, 3>(),
    wedge_of<kFfRight, 2>(),  wedge_of<kFfRight, 1>(),
    wedge_of<kFfLeft, 5>(),   wedge_of<kFfLeft, 4>(),   wedge_of<kFfLeft, 3>(),
    wedge_of<kFfLeft, 2>(),   wedge_of<kFfLeft, 1>(),
    wedge_of<kEgtRight, 5>(), wedge_of<kEgtRight, 4>(), wedge_of<kEgtRight, 3>(),
    wedge_of<kEgtRight, 2>(), wedge_of<kEgtRight, 1>(),
    wedge_of<kEgtLeft, 5>(),  wedge_of<kEgtLeft, 4>(),  wedge_of<kEgtLeft, 3>(),
    wedge_of<kEgtLeft, 2>(),  wedge_of<kEgtLeft, 1>(),
    wedge_of<kN2Right, 5>(),  wedge_of<kN2Right, 4>(),  wedge_of<kN2Right, 3>(),
    wedge_of<kN2Right, 2>(),  wedge_of<kN2Right, 1>(),
    wedge_of<kN2Left, 5>(),   wedge_of<kN2Left, 4>(),   wedge_of<kN2Left, 3>(),
    wedge_of<kN2Left, 2>(),   wedge_of<kN2Left, 1>(),
    wedge_of<kN1Right, 5>(),  wedge_of<kN1Right, 4>(),  wedge_of<kN1Right, 3>(),
    wedge_of<kN1Right, 2>(),  wedge_of<kN1Right, 1>(),
    wedge_of<kN1Left, 5>(),   wedge_of<kN1Left, 4>(),   wedge_of<kN1Left, 3>(),
    wedge_of<kN1Left, 2>(),   wedge_of<kN1Left, 1>(),
    page_icon_at(2160, {0, 0}, calls<engine_overlay>),
    //     at          box       chars align     colour  token  callback
    field({235, 267}, {36, 24}, 3,    kCentred, kCyan,  0,     calls<fuel_percent_text>),
    field({83, 267},  {36, 24}, 3,    kCentred, kCyan,  0,     calls<afterburner_text>),
    field({198, 223}, {36, 24}, 3,    kCentred, kGreen, 657,   calls<ff_right_text>),
    field({52, 223},  {36, 24}, 3,    kCentred, kGreen, 638,   calls<ff_left_text>),
    field({192, 93},  {48, 24}, 4,    kCentred, kGreen, 577,   calls<egt_right_text>),
    field({46, 93},   {48, 24}, 4,    kCentred, kGreen, 567,   calls<egt_left_text>),
    field({198, 156}, {36, 24}, 3,    kCentred, kGreen, 0,     calls<n2_right_text>),
    field({52, 156},  {36, 24}, 3,    kCentred, kGreen, 0,     calls<n2_left_text>),
    field({198, 26},  {36, 24}, 3,    kCentred, kGreen, 0,     calls<n1_right_text>),
    field({52, 26},   {36, 24}, 3,    kCentred, kGreen, 0,     calls<n1_left_text>),

    // Controls page (page 1)
    //           bitmap at          callback               token images
    page_icon_at(2250, {0, 0},     calls<controls_face>),                // page face
    page_icon_at(2260, {254, 3},   calls<gear_leg>,       334,  3),      // right gear leg
    page_icon_at(2260, {220, 3},   calls<gear_leg>,       332,  3),      // middle gear leg
    page_icon_at(2260, {186, 3},   calls<gear_leg>,       333,  3),      // left gear leg
    field({15, 95},  {26, 14}, 2, kCentred, kGreen, 329, calls<flaps_text>),
    page_icon_at(2280, {32, 222},  calls<flap_edges>,     329,  5),      // trailing edges
    field({15, 139}, {39, 14}, 3, kCentred, kGreen, 329, calls<slats_text>),
    page_icon_at(2270, {41, 139},  calls<slat_bars>,      329,  2),
    page_icon_at(2290, {118, 184}, calls<fuselage_boxes>, 327,  2),
    page_icon_at(2310, {93, 95},   calls<controls_face>),                // forward triangles
    page_icon_at(2330, {136, 245}, calls<controls_face>),                // tail marker
    page_icon_at(2320, {124, 152}, calls<brake_label>,    323,  3),      // BRK
    page_icon_at(2300, {123, 219}, calls<hook_label>,     869,  1),      // HOOK
    field({70, 28},  {120, 21}, 7, kLeftTop, kGreen, 734, calls<hydraulic_text>),  // HYDR 2
    field({70, 8},   {120, 21}, 7, kLeftTop, kGreen, 732, calls<hydraulic_text>),  // HYDR 1
};
// clang-format on

constexpr u32 kCourseClicks =
    abi::kMouseLeftSingle | abi::kMouseRightSingle | abi::kMouseWheelLike;  // 0xA0200000

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Heading bug (Heading %((A:AUTOPILOT HEADING LOCK DIR, degrees))%!d!\xB0)"),
    click_box({192, 5, 42, 24}, abi::kCursorDown, kCourseClicks, course_down),
    click_box({234, 5, 42, 24}, abi::kCursorUp, kCourseClicks, course_up),
    area_end(),
    list_end(),
};

}  // namespace
}  // namespace orv::gauges::multi_function_display_right_records

ORV_DEFINE_GAUGE(multi_function_display_right, multi_function_display_right_records::chain.first,
                 multi_function_display_right_records::mouse, orv::mfd::right::right_display_callback)
