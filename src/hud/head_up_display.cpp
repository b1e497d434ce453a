// The head-up display: a pitch ladder that rolls with the aircraft, a flight
// path marker, a bank pointer, speed, altitude and angle-of-attack readouts,
// a moving heading tape, instrument-landing guidance and a gear-down cue,
// drawn over the HUD glass. The pilot switches the HUD on and off and picks
// one of four symbol colours with the screen selectors.
//
// The gauge is only element records and their callbacks: no gauge callback
// and no clickable area. Each coloured symbol exists as four colour copies
// (one element per colour, red first, light green last in the drawing order),
// of which only the copy of the selected colour shows. The records below are
// one table per element kind; every colour family is a single row that the
// code expands over the four colours, binding one callback routine to each
// copy's colour index.
#include <array>
#include <iterator>

#include "frame/registry.h"
#include "hud/head_up_display.h"
#include "hud/hud_symbols.h"

namespace orv::gauges::hud {

using orv::hud::kDarkGreen;
using orv::hud::kLightGreen;
using orv::hud::kMiddleGreen;
using orv::hud::kRed;
using namespace orv::hud::chain;

// --- Drawing order ------------------------------------------------------------

// Each element's list of following elements: {next element, null}.
struct ChainLinks {
  ElementHeader* after[kChainLength][2];
};
extern ChainLinks links;

// --- Shared record values -----------------------------------------------------

// Host failure lists, ended by an all-zero entry.
// clang-format off
// Element groups                        failure entries (key, action), then the end entry
constexpr FailureEntry kFrameFailures[]         = {{21, 3}, {20, 3},                            {}};
constexpr FailureEntry kNavFailures[]           = {{20, 3}, {21, 3}, {14, 2}, {15, 2},          {}};
constexpr FailureEntry kAngleOfAttackFailures[] = {{18, 2}, {20, 3},                            {}};
constexpr FailureEntry kAirspeedFailures[]      = {{20, 3}, {21, 3}, {6, 2},  {3, 2},           {}};
constexpr FailureEntry kHeadingFailures[]       = {{20, 3}, {21, 3}, {11, 1},                   {}};
constexpr FailureEntry kFlightPathFailures[]    = {{20, 3}, {21, 3}, {3, 1},  {19, 1}, {7, 1},  {}};
constexpr FailureEntry kAttitudeFailures[]      = {{20, 3}, {21, 3}, {8, 0},  {2, 0},  {4, 0},  {}};
constexpr FailureEntry kAltitudeFailures[]      = {{20, 3}, {21, 3}, {3, 1},  {7, 1},           {}};
// clang-format on

// Image flags.
constexpr u32 kGlassFlags = 0x3;    // background and glass
constexpr u32 kSymbolFlags = 0x7;   // the other icons and all strings
constexpr u32 kMovingFlags = 0x87;  // sliders, moving images, sprites, needles

// Text colours (0x00BBGGRR) by colour index, and the string fields' shared look.
constexpr u32 kTextColours[4] = {
    0x0039F508,  // light green (8, 245, 57)
    0x001D9E00,  // middle green (0, 158, 29)
    0x00115701,  // dark green (1, 87, 17)
    0x000000FF,  // red (255, 0, 0)
};
constexpr char kFont[] = "Quartz";
constexpr i32 kFontWeight = 600;
constexpr u8 kCharset = 1;
constexpr u32 kTextFormat = kTextCentre | kTextVCentre | kTextSingleLine;  // 0x25
constexpr u32 kTextBackground = 0x00000000;                                // black
constexpr u32 kTextHighlight = 0x0000FFFF;                                 // (255, 255, 0)

// The boresight, about which the attitude sprites move and rotate.
constexpr PixPoint kBoresight{102, 82};
constexpr f64 kPitchScale = 6.0;  // pixels per degree of pitch

// Bank pointer: -90 points left along the boresight's row, +90 right.
NeedlePoint bank_table[] = {{{52, 82}, -90.0, 0.0}, {{152, 82}, 90.0, 0.0}};

// --- Callback binding -------------------------------------------------------------

template <typename E>
E* element_type_of(f64 (*)(E*, u32));
template <typename E>
E* element_type_of(f64 (*)(E*));

// The element callback that runs the family routine `Fn` for colour copy `C`.
template <auto Fn, u32 C>
f64 ORV_CALL colour_callback(void* element) {
  return Fn(static_cast<decltype(element_type_of(Fn))>(element), C);
}

// The element callback of a single-element symbol.
template <auto Fn>
f64 ORV_CALL single_callback(void* element) {
  return Fn(static_cast<decltype(element_type_of(Fn))>(element));
}

// The chain position of the colour copy `colour` of a group starting at
// `first` (red first, light green last).
constexpr int copy_position(int first, u32 colour) { return first + static_cast<int>(kRed - colour); }

constexpr ElementHeader header(u32 kind, u32 bitmap, PixPoint at, int position, u32 flags,
                               const FailureEntry* failures, PixPoint offset = {0, 0}) {
  return ElementHeader{.kind = kind,
                       .bitmap = bitmap,
                       .position = at,
                       .previous_position = {0, 0},
                       .offset = offset,
                       .gauge = &orv::gauges::head_up_display,
                       .previous = nullptr,
                       .next = position + 1 < kChainLength ? links.after[position] : nullptr,
                       .failures = failures,
                       .flags = flags,
                       .special_flags = 0,
                       .reserved = 0};
}

// Expands a family row over the four colours in drawing order, binding the
// family routine `Fn` to each copy's colour index. `make_copy(row, colour,
// callback)` builds one copy of the row's kind.
template <auto Fn, typename Row>
constexpr auto colour_copies(const Row& row) {
  using E = decltype(make_copy(row, kRed, nullptr));
  return std::array<E, 4>{make_copy(row, kRed, &colour_callback<Fn, kRed>),
                          make_copy(row, kDarkGreen, &colour_callback<Fn, kDarkGreen>),
                          make_copy(row, kMiddleGreen, &colour_callback<Fn, kMiddleGreen>),
                          make_copy(row, kLightGreen, &colour_callback<Fn, kLightGreen>)};
}

// Bitmap of a colour copy whose family's bitmaps step by 10 per colour index
// from the light green one.
constexpr u32 colour_bitmap(u32 light_green, u32 colour) { return light_green + 10 * colour; }

// --- Icons and the background -------------------------------------------------------

constexpr IconElement icon(int position, u32 bitmap, PixPoint at, u32 flags, i32 images, u32 token,
                           ElementFn callback, const FailureEntry* failures) {
  IconElement e{};
  e.h = header(kIcon, bitmap, at, position, flags, failures);
  e.source = orv::token(token);
  e.callback = callback;
  e.switch_count = images;
  e.scale = 1.0;
  e.image_count = images;
  return e;
}

// clang-format off
// Multi-image icons carry the colours as consecutive images (colour index, or
// colour index + 4 for a symbol's second variant).
constinit StaticElement background{
    .h = header(kStaticImage, 1000, {0, 0}, kBackground, kGlassFlags, nullptr)};
//                                     position    bitmap at          flags         images token
constinit IconElement glass      = icon(kGlass,     1010, {0, 0},     kGlassFlags,  2,     0,
                                        &single_callback<orv::hud::hud_glass>, nullptr);
constinit IconElement symbology  = icon(kSymbology, 1020, {19, 9},    kSymbolFlags, 4,     0,
                                        &single_callback<orv::hud::hud_fixed_symbology>, kFrameFailures);
constinit IconElement gear_cue   = icon(kGearCue,   1260, {89, 73},   kSymbolFlags, 4,     332,
                                        &single_callback<orv::hud::hud_gear_down_cue>, nullptr);
constinit IconElement to_from    = icon(kToFrom,    1210, {166, 140}, kSymbolFlags, 8,     0,
                                        &single_callback<orv::hud::hud_to_from_arrow>, kNavFailures);
constinit IconElement nav_source = icon(kNavSource, 1200, {34, 157},  kSymbolFlags, 8,     0,
                                        &single_callback<orv::hud::hud_nav_source_label>, kFrameFailures);
// clang-format on

// --- Strings: course, angle of attack, airspeed, altitude ----------------------------

struct TextRow {
  int first;
  PixPoint at;
  PixPoint box;  // width, height
  u16 max_chars;
  u32 token;  // element variable; 0: the callback reads its own
  const FailureEntry* failures;
};

constexpr TextElement make_copy(const TextRow& row, u32 colour, ElementFn callback) {
  TextElement e{};
  e.h = header(kText, kNoBitmap, row.at, copy_position(row.first, colour), kSymbolFlags, row.failures);
  e.source[0] = orv::token(row.token);
  e.callback[0] = callback;
  e.box = row.box;
  e.text_colour = kTextColours[colour];
  e.background_colour = kTextBackground;
  e.highlight_colour = kTextHighlight;
  for (std::size_t i = 0; i < sizeof kFont; ++i) e.font[i] = kFont[i];
  e.font_weight = kFontWeight;
  e.charset = kCharset;
  e.format = kTextFormat;
  e.max_chars = row.max_chars;
  return e;
}

// clang-format off
//                                     first           at          box      chars token  failures
constexpr TextRow kCourseRow        = {kCourse,        {150, 155}, {18, 9}, 3,    0,     kFrameFailures};
constexpr TextRow kAngleOfAttackRow = {kAngleOfAttack, {7, 66},    {48, 9}, 8,    789,   kAngleOfAttackFailures};
constexpr TextRow kAirspeedRow      = {kAirspeed,      {28, 77},   {24, 9}, 4,    61,    kAirspeedFailures};
constexpr TextRow kAltitudeRow      = {kAltitude,      {153, 77},  {30, 9}, 5,    74,    kAltitudeFailures};
// clang-format on

constinit auto course_text = colour_copies<orv::hud::hud_course_text>(kCourseRow);
constinit auto angle_of_attack_text = colour_copies<orv::hud::hud_angle_of_attack_text>(kAngleOfAttackRow);
constinit auto airspeed_text = colour_copies<orv::hud::hud_airspeed_text>(kAirspeedRow);
constinit auto altitude_text = colour_copies<orv::hud::hud_altitude_text>(kAltitudeRow);

// --- Sliders: glideslope and localizer carets ----------------------------------------

struct SliderRow {
  int first;
  u32 light_green_bitmap;
  PixPoint at;
  bool vertical;  // the callback drives y (glideslope) rather than x (localizer)
  f64 scale;      // pixels per unit of deviation
};

constexpr SliderElement make_copy(const SliderRow& row, u32 colour, ElementFn callback) {
  SliderElement e{};
  e.h = header(kSlider, colour_bitmap(row.light_green_bitmap, colour), row.at,
               copy_position(row.first, colour), kMovingFlags, kNavFailures);
  e.x = orv::token(0);
  e.y = orv::token(0);
  (row.vertical ? e.y_callback : e.x_callback) = callback;
  (row.vertical ? e.y_scale : e.x_scale) = row.scale;
  return e;
}

// clang-format off
//                                  first        bitmap at          vertical scale
constexpr SliderRow kGlideslopeRow = {kGlideslope, 1220, {31, 110},  true,    0.16666};
constexpr SliderRow kLocalizerRow  = {kLocalizer,  1160, {100, 154}, false,   0.31496};
// clang-format on

constinit auto glideslope_caret = colour_copies<orv::hud::hud_glideslope_caret>(kGlideslopeRow);
constinit auto localizer_caret = colour_copies<orv::hud::hud_localizer_caret>(kLocalizerRow);

// --- Moving image: heading tape --------------------------------------------------------

struct TapeRow {
  int first;
  u32 light_green_bitmap;  // the tape; the next id is the window mask
  PixPoint at;
  u32 token;
  f64 min_x, max_x;  // the token range spread across the tape
};

constexpr MovingImageElement make_copy(const TapeRow& row, u32 colour, ElementFn callback) {
  MovingImageElement e{};
  e.h = header(kMovingImage, colour_bitmap(row.light_green_bitmap, colour), row.at,
               copy_position(row.first, colour), kMovingFlags, kHeadingFailures);
  e.x = orv::token(row.token);
  e.x_callback = callback;
  e.min_x = row.min_x;
  e.max_x = row.max_x;
  e.y = orv::token(0);
  return e;
}

// clang-format off
//                                 first         bitmap at         token min  max
constexpr TapeRow kHeadingTapeRow = {kHeadingTape, 1120, {42, 139}, 84,   0.0, 360.0};
// clang-format on

constinit auto heading_tape = colour_copies<orv::hud::hud_heading_tape>(kHeadingTapeRow);

// --- Sprites: flight path marker and pitch ladder ---------------------------------------

struct SpriteRow {
  int first;
  u32 light_green_bitmap;  // the picture; the next id is the window mask
  f64 angle_scale;         // times bank (token 80); 0: does not rotate
  const FailureEntry* failures;
};

constexpr SpriteElement make_copy(const SpriteRow& row, u32 colour, ElementFn callback) {
  SpriteElement e{};
  e.h = header(kSprite, colour_bitmap(row.light_green_bitmap, colour), {19, 9},
               copy_position(row.first, colour), kMovingFlags, row.failures);
  e.x = orv::token(0);
  e.y = orv::token(78);
  e.y_callback = callback;
  e.y_scale = kPitchScale;
  e.angle = orv::token(80);
  e.angle_scale = row.angle_scale;
  e.texture_scale_x = 1.0f;
  e.texture_scale_y = 1.0f;
  e.centre = kBoresight;
  return e;
}

// clang-format off
//                                  first         bitmap angle failures
constexpr SpriteRow kFlightPathRow  = {kFlightPath,  1080,  0.0,  kFlightPathFailures};
constexpr SpriteRow kPitchLadderRow = {kPitchLadder, 1040, -1.0,  kAttitudeFailures};
// clang-format on

constinit auto flight_path_marker = colour_copies<orv::hud::hud_flight_path_marker>(kFlightPathRow);
constinit auto pitch_ladder = colour_copies<orv::hud::hud_pitch_ladder>(kPitchLadderRow);

// --- Needle: bank pointer -----------------------------------------------------------------

struct NeedleRow {
  int first;
  u32 light_green_bitmap;  // ids step by 1 per colour
  PixPoint pivot_at;       // in the gauge
  PixPoint pivot;          // in the needle bitmap
  u32 token;
};

constexpr NeedleElement make_copy(const NeedleRow& row, u32 colour, ElementFn callback) {
  NeedleElement e{};
  e.h = header(kNeedle, row.light_green_bitmap + colour, row.pivot_at, copy_position(row.first, colour),
               kMovingFlags, kAttitudeFailures, row.pivot);
  e.source = orv::token(row.token);
  e.callback = callback;
  e.table = bank_table;
  e.table_count = static_cast<u32>(std::size(bank_table));
  return e;
}

// clang-format off
//                                    first         bitmap at          pivot   token
constexpr NeedleRow kBankPointerRow = {kBankPointer, 1030, {102, 82}, {0, 3}, 80};
// clang-format on

constinit auto bank_pointer = colour_copies<orv::hud::hud_bank_pointer>(kBankPointerRow);

// --- The chain -------------------------------------------------------------------------------

// Every element in drawing order, back to front.
// clang-format off
constexpr ElementHeader* kChain[] = {
    &background.h,
    &glass.h,
    &symbology.h,
    &gear_cue.h,
    &to_from.h,
    &course_text[0].h, &course_text[1].h, &course_text[2].h, &course_text[3].h,
    &nav_source.h,
    &glideslope_caret[0].h, &glideslope_caret[1].h, &glideslope_caret[2].h, &glideslope_caret[3].h,
    &localizer_caret[0].h, &localizer_caret[1].h, &localizer_caret[2].h, &localizer_caret[3].h,
    &angle_of_attack_text[0].h, &angle_of_attack_text[1].h, &angle_of_attack_text[2].h,
    &angle_of_attack_text[3].h,
    &airspeed_text[0].h, &airspeed_text[1].h, &airspeed_text[2].h, &airspeed_text[3].h,
    &heading_tape[0].h, &heading_tape[1].h, &heading_tape[2].h, &heading_tape[3].h,
    &flight_path_marker[0].h, &flight_path_marker[1].h, &flight_path_marker[2].h, &flight_path_marker[3].h,
    &pitch_ladder[0].h, &pitch_ladder[1].h, &pitch_ladder[2].h, &pitch_ladder[3].h,
    &altitude_text[0].h, &altitude_text[1].h, &altitude_text[2].h, &altitude_text[3].h,
    &bank_pointer[0].h, &bank_pointer[1].h, &bank_pointer[2].h, &bank_pointer[3].h,
};
// clang-format on
static_assert(std::size(kChain) == kChainLength && kChainLength == 46);
static_assert(kChain[kGlideslope] == &glideslope_caret[0].h && kChain[kBankPointer] == &bank_pointer[0].h);

constexpr ChainLinks link_chain() {
  ChainLinks l{};
  for (int i = 0; i + 1 < kChainLength; ++i) l.after[i][0] = kChain[i + 1];
  return l;
}

constinit ChainLinks links = link_chain();

ORV_ELEMENT_LIST(elements, &background.h);

// The HUD takes no clicks; its one area only carries the help text.
MouseRect mouse[] = {
    {.kind = kMouseArea, .box = {0, 0, 0, 0}, .cursor = kCursorNone},
    {.kind = kMouseTooltip,
     .box = {0, 0, 0, 0},
     .cursor = kCursorNone,
     .action = {.text = "Head-Up Display"}},
    {.kind = kMouseAreaEnd},
    {.kind = kMouseEnd},
};

}  // namespace orv::gauges::hud

ORV_DEFINE_GAUGE(head_up_display, hud::elements, hud::mouse, nullptr)
