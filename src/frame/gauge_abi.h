// The binary records shared by the gauge module and the panel host.
//
// This header is the whole contract between the module and whatever loads it:
// the simulator's panel host on 32-bit Windows, or our substitute host on any
// platform. It holds plain C-layout records only (no code), packed to 4 bytes
// on every target. Pointer-sized fields grow on 64-bit builds; only the i686
// layout must match the real host, and the static_asserts at the end prove it
// on that target.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ORV_CALL __stdcall
#else
#define ORV_CALL
#endif

namespace orv::abi {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using i16 = std::int16_t;
using i32 = std::int32_t;
using f32 = float;
using f64 = double;
using uptr = std::uintptr_t;

#pragma pack(push, 4)

struct PixPoint {
  i32 x;
  i32 y;
};

struct PixBox {
  i32 x;
  i32 y;
  i32 w;
  i32 h;
};

// The value slot of a token variable: a float, a packed integer in the low
// word, or a pointer to the host's NUL-terminated text.
union TokenValue {
  f64 n;
  u32 d;
  i32 i;
  const char* p;
};

struct TokenVar {
  u32 id;
  void* host_ptr;  // named data lookup stores the block address here
  u32 host_type;
  TokenValue value;
  TokenValue spare;
};

struct GaugeHeader;
struct ElementHeader;
struct MouseRect;
struct Click;

using ModuleFn = void(ORV_CALL*)();
using GaugeFn = void(ORV_CALL*)(GaugeHeader* gauge, i32 service, uptr extra);
using ElementFn = f64(ORV_CALL*)(void* element);
using MouseFn = i32(ORV_CALL*)(Click* click, u32 flags);
using TooltipNumberFn = f64(ORV_CALL*)(f64 number, u32 id, const char* text, TokenVar* var,
                                       GaugeHeader* gauge);
using TooltipTextFn = const char*(ORV_CALL*)(f64 number, u32 id, const char* text, TokenVar* var,
                                             GaugeHeader* gauge);

struct ImportTableRecord {
  u32 id;           // 0x0F
  void** services;  // written by the host before any callback
  u32 end_id;
  void* end_ptr;
};

struct LinkageRecord {
  u32 module_id;  // 0x13
  ModuleFn init;
  ModuleFn deinit;
  u32 flags;
  u32 priority;
  u32 version;  // 0x900
  GaugeHeader* gauges[33];
};

struct GaugeHeader {
  u32 version;  // 800
  const char* name;
  ElementHeader** elements;  // null-terminated first-level list
  void* host_routines[7];
  void* reserved1;
  u32 size_x_mm;
  u32 size_y_mm;
  f32 x_adjust;
  f32 y_adjust;
  void* reserved2;
  void* reserved3;
  PixPoint position;
  void* reserved4;
  MouseRect* mouse_rects;
  GaugeFn callback;
  uptr user_word;  // toggles: once-flag; radar: display object
  char* parameters;
  void* usage;
  i32 reserved5;
  void* reserved6;
  PixPoint size;
  f64 user_area[10];
  u32 host_flags;
  void* reserved7;
};

// Element kinds.
enum ElementKind : u32 {
  kStaticImage = 0,
  kNeedle = 1,
  kText = 2,
  kSlider = 3,
  kIcon = 4,
  kMovingImage = 5,
  kSprite = 6,
};

inline constexpr u32 kHiddenFlag = 0x40000000u;
inline constexpr u32 kOnScreenFlag = 0x80000000u;
inline constexpr u32 kNoBitmap = 0xFFFFFFFFu;

struct FailureEntry {
  u32 key;
  u32 action;
  void* reserved;
};

struct ElementHeader {
  u32 kind;
  u32 bitmap;
  PixPoint position;
  PixPoint previous_position;
  PixPoint offset;  // needle: pivot inside the needle bitmap
  GaugeHeader* gauge;
  ElementHeader* previous;
  ElementHeader** next;  // null-terminated list, or null
  const FailureEntry* failures;
  u32 flags;
  u32 special_flags;
  u32 reserved;
};

struct Image {
  u32 format;  // low 16 bits format, high 16 bits flags
  PixPoint dim;
  u32 pitch;
  void* palette;
  u32 length;
  void* pixels;
  void* device;
};

struct ImageSet {
  Image* final_image;
  Image* source;
  Image* reserved1;
  Image* reserved2;
};

struct StaticElement {
  ElementHeader h;
  ImageSet image;
  void* save_buffer;
  void* device_context;  // Windows HDC; native builds: cairo_t*
  void* bitmap_handle;
  void* reserved1;
  void* reserved2;
};

struct NeedlePoint {
  PixPoint point;  // gauge coordinates
  f64 value;
  f64 degrees;  // host working value
};

struct NeedleElement {
  ElementHeader h;
  TokenVar source;
  ElementFn callback;
  void* display_value_fn;
  void* angle_fn;
  void* lag_fn;
  PixPoint reference;
  NeedlePoint* table;
  u32 table_count;
  i32 max_degrees_per_tick;
  f64 readout_goal;
  f64 theta_goal;
  f64 theta;
  PixPoint old_reference;
  PixPoint o[4];
  ImageSet needle;
  void* texture;
  u32 texture_handle;
  void* save_buffer;
  PixPoint save_position;
};

struct SelectionRecord {
  i32 id;
  i32 first;
  i32 last;
};

// DrawText format bits used by text elements.
inline constexpr u32 kTextCentre = 0x1;
inline constexpr u32 kTextRight = 0x2;
inline constexpr u32 kTextVCentre = 0x4;
inline constexpr u32 kTextSingleLine = 0x20;

struct TextElement {
  ElementHeader h;
  TokenVar source[3];
  f64 saved[3];
  ElementFn callback[3];  // the text callback is callback[0]
  void* source_fn;
  char* text;  // host allocated, max_chars + 1 bytes
  char* old_text;
  PixPoint box;  // width, height
  void* text_image;
  void* save_buffer;
  u32 text_colour;  // 0x00BBGGRR
  u32 background_colour;
  u32 highlight_colour;
  void* gdi[7];
  char font[32];
  i32 font_weight;
  u8 charset;
  u32 format;  // DrawText flags
  u16 max_chars;
  u16 char_width;
  i16 selection_start;
  i16 selection_end;
  SelectionRecord* selections;
  i32 saved_sequence;
  i32 char_height;
};

struct SliderElement {
  ElementHeader h;
  TokenVar x;
  ElementFn x_callback;
  f64 x_scale;
  void* x_lag;
  TokenVar y;
  ElementFn y_callback;
  f64 y_scale;
  void* y_lag;
  ImageSet image;
  void* save_buffer;
};

struct IconElement {
  ElementHeader h;
  TokenVar source;
  ElementFn callback;
  i32 switch_type;
  i32 switch_count;
  f64 scale;
  i32 offset;
  i32 image_count;
  i32 current_image;
  i32 target_image;
  void* image_sets;
  void* save_buffer;
};

struct MovingImageElement {
  ElementHeader h;
  TokenVar x;
  ElementFn x_callback;
  f64 min_x;
  f64 max_x;
  void* x_lag;
  TokenVar y;
  ElementFn y_callback;
  f64 min_y;
  f64 max_y;
  void* y_lag;
  f64 scale_x;
  f64 scale_y;
  f64 offset_x;
  f64 offset_y;
  PixPoint save_position;
  ImageSet image;
  ImageSet local_mask;
  void* mask;
  void* save_buffer;
};

struct SpriteElement {
  ElementHeader h;
  TokenVar x;
  ElementFn x_callback;
  f64 x_scale;
  TokenVar y;
  ElementFn y_callback;
  f64 y_scale;
  TokenVar angle;
  ElementFn angle_callback;
  f64 angle_scale;
  f32 texture_scale_x;
  f32 texture_scale_y;
  PixPoint centre;  // gauge coordinates
  PixPoint old_centre;
  PixPoint o[4];
  PixPoint os[4];
  ImageSet texture;
  void* texture_ptr;
  u32 texture_handle;
  ImageSet local_mask;
  void* mask;
  void* save_buffer;
};

// Mouse rectangle kinds.
enum MouseRectKind : u32 {
  kMouseEnd = 0,
  kMouseArea = 1,
  kMouseBox = 2,
  kMouseAreaEnd = 3,
  kMouseTooltip = 4,
};

// Mouse flag bits.
inline constexpr u32 kMouseLeftSingle = 0x20000000u;
inline constexpr u32 kMouseRightSingle = 0x80000000u;
inline constexpr u32 kMouseWheelLike = 0x00200000u;  // requested by knobs and displays
inline constexpr u32 kMouseMove = 0x00400000u;       // requested by the radar's screen

// Cursor shapes.
inline constexpr i32 kCursorNone = -1;
inline constexpr i32 kCursorNormal = 0;
inline constexpr i32 kCursorUp = 1;
inline constexpr i32 kCursorDown = 2;
inline constexpr i32 kCursorHand = 5;

struct MouseArg;

// The callback slot of a mouse rectangle; a tooltip record keeps its text
// there instead.
union MouseAction {
  MouseFn fn;
  const char* text;
};

struct MouseRect {
  u32 kind;
  PixBox box;  // relative to the enclosing area
  i32 cursor;
  u32 help_id;
  u32 flags;
  u32 event;  // tooltip record: argument count
  MouseAction action;
  MouseArg* args;  // tooltip record: argument table, written by the host
};

struct Click {
  PixPoint point;  // relative to the clicked box
  GaugeHeader* gauge;
  MouseRect* rect;
  PixPoint screen;
  void* reserved;
};

struct MouseArg {
  TokenVar source;
  f64 scale;
  void* numeric_map;
  u32 numeric_count;
  void* id_map;
  u32 id_count;
  void* string_map;
  u32 string_count;
  TooltipNumberFn numeric_callback;
  void* id_callback;
  TooltipTextFn string_callback;
};

#pragma pack(pop)

// What each element kind is, in one place: its name (as the trace and
// `info` print it), the size of its record (what a host copies per
// instance), and its value channels in channel order, each the byte offsets
// in the record of its token variable and of its callback. A host fills
// every channel's variable first (a text callback formats from all three
// sources, a clock from hours, minutes and seconds), then runs each
// channel's callback in order. `described` channels describe the element (a
// text's second and third sources only feed its text). Evaluation, trace,
// drawing, `info` and the benchmarks all read the kinds from this table.
struct ChannelLayout {
  u16 source;    // offset of the TokenVar
  u16 callback;  // offset of the ElementFn
  const char* name;
};

struct ElementKindLayout {
  u32 kind;
  const char* name;
  std::size_t record_size;
  u32 channels;   // channels evaluated
  u32 described;  // of them, the ones that describe the element
  ChannelLayout channel[3];
};

#define ORV_CHANNEL(record, source, callback, name) \
  ChannelLayout { offsetof(record, source), offsetof(record, callback), name }
inline constexpr ElementKindLayout kElementKinds[] = {
    {kStaticImage, "static", sizeof(StaticElement), 0, 0, {}},
    {kNeedle, "needle", sizeof(NeedleElement), 1, 1, {ORV_CHANNEL(NeedleElement, source, callback, "value")}},
    {kText,
     "text",
     sizeof(TextElement),
     3,
     1,
     {ORV_CHANNEL(TextElement, source[0], callback[0], "value"),
      ORV_CHANNEL(TextElement, source[1], callback[1], "source 2"),
      ORV_CHANNEL(TextElement, source[2], callback[2], "source 3")}},
    {kSlider,
     "slider",
     sizeof(SliderElement),
     2,
     2,
     {ORV_CHANNEL(SliderElement, x, x_callback, "x"), ORV_CHANNEL(SliderElement, y, y_callback, "y")}},
    {kIcon, "icon", sizeof(IconElement), 1, 1, {ORV_CHANNEL(IconElement, source, callback, "image")}},
    {kMovingImage,
     "moving",
     sizeof(MovingImageElement),
     2,
     2,
     {ORV_CHANNEL(MovingImageElement, x, x_callback, "x"),
      ORV_CHANNEL(MovingImageElement, y, y_callback, "y")}},
    {kSprite,
     "sprite",
     sizeof(SpriteElement),
     3,
     3,
     {ORV_CHANNEL(SpriteElement, x, x_callback, "x"), ORV_CHANNEL(SpriteElement, y, y_callback, "y"),
      ORV_CHANNEL(SpriteElement, angle, angle_callback, "angle")}},
};
#undef ORV_CHANNEL
inline constexpr u32 kElementKindCount = sizeof kElementKinds / sizeof kElementKinds[0];

// The table is indexed by kind.
constexpr bool element_kinds_in_order() {
  for (u32 i = 0; i < kElementKindCount; ++i)
    if (kElementKinds[i].kind != i || kElementKinds[i].described > kElementKinds[i].channels) return false;
  return true;
}
static_assert(element_kinds_in_order());

// The layout of `kind`, or null for a kind no record exists for.
constexpr const ElementKindLayout* element_layout(u32 kind) {
  return kind < kElementKindCount ? &kElementKinds[kind] : nullptr;
}

// The byte size of the element record of `kind`, or 0 for a kind no record
// exists for.
constexpr std::size_t element_record_size(u32 kind) {
  const ElementKindLayout* k = element_layout(kind);
  return k != nullptr ? k->record_size : 0;
}

// Service table slots the module calls.
inline constexpr int kSlotPanelWindowToggle = 35;
inline constexpr int kSlotTriggerKeyEvent = 36;
inline constexpr int kSlotInitVarByName = 39;
inline constexpr int kSlotLookupVar = 40;
inline constexpr int kSlotExecuteCalculatorCode = 69;
inline constexpr int kSlotAircraftVarGet = 75;
inline constexpr int kSlotGetRegisteredInterface = 77;

using PanelWindowToggleFn = i32(ORV_CALL*)(u32 window);
using TriggerKeyEventFn = u32(ORV_CALL*)(u32 event, u32 value);
using InitVarByNameFn = void(ORV_CALL*)(TokenVar* rec, const char* name);
using LookupVarFn = void(ORV_CALL*)(TokenVar* rec);
using ExecuteCalculatorCodeFn = i32(ORV_CALL*)(const char* code, f64* num, i32* inum, const char** text);
using AircraftVarGetFn = f64(ORV_CALL*)(u32 var, u32 unit, i32 index);
using GetRegisteredInterfaceFn = void*(ORV_CALL*)(const char* name);

// The host's traffic service, in the COM manner: an object's first field
// points to its operation table; operation N is the N-th pointer of it, called
// with the object itself first. The host object named "ITrafficInfo" answers
// operation 2; the traffic interface it returns answers the others.
inline constexpr int kTrafficOpInterface = 2;
inline constexpr int kTrafficOpVariable = 8;
inline constexpr int kTrafficOpUnit = 9;
inline constexpr int kTrafficOpObjectsInRadius = 10;
inline constexpr int kTrafficOpNumber = 12;
inline constexpr int kTrafficOpText = 13;
inline constexpr int kTrafficOpReducedData = 15;
inline constexpr int kTrafficOpName = 16;
inline constexpr int kTrafficOpCount = 17;  // table size the host serves

using TrafficInterfaceFn = void*(ORV_CALL*)(void* self, const char* name);
using TrafficHandleFn = u32(ORV_CALL*)(void* self, const char* name);
using TrafficObjectsFn = u32(ORV_CALL*)(void* self, f64 radius_m, u32 max_count, u32* ids);
using TrafficNumberFn = i32(ORV_CALL*)(void* self, u32 id, u32 var, u32 unit, f64* out, u32 one);
using TrafficTextFn = i32(ORV_CALL*)(void* self, u32 id, u32 var, char* buffer, u32 length, u32 zero);
using TrafficReducedFn = u32(ORV_CALL*)(void* self);
using TrafficNameFn = const char*(ORV_CALL*)(void* self, u32 id);

inline constexpr u32 kImportTableId = 0x0F;
inline constexpr u32 kModuleId = 0x13;
inline constexpr u32 kModuleVersion = 0x900;
inline constexpr u32 kGaugeHeaderVersion = 800;
inline constexpr int kGaugeCount = 32;

// Gauge service ids.
inline constexpr i32 kServiceInstall = 2;
inline constexpr i32 kServicePostInstall = 3;
inline constexpr i32 kServicePreUpdate = 6;
inline constexpr i32 kServicePreDraw = 10;
inline constexpr i32 kServicePreKill = 12;
inline constexpr i32 kServicePanelOpen = 14;
inline constexpr i32 kServicePanelClose = 15;

// The i686 layout the real host expects.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PixPoint) == 8 && sizeof(PixBox) == 16);
static_assert(sizeof(TokenVar) == 28);
static_assert(offsetof(TokenVar, host_ptr) == 4 && offsetof(TokenVar, host_type) == 8);
static_assert(offsetof(TokenVar, value) == 12 && offsetof(TokenVar, spare) == 20);
static_assert(sizeof(ImportTableRecord) == 16);
static_assert(offsetof(ImportTableRecord, services) == 4);
static_assert(offsetof(ImportTableRecord, end_id) == 8);
static_assert(offsetof(ImportTableRecord, end_ptr) == 12);
static_assert(sizeof(LinkageRecord) == 24 + 4 * 33);
static_assert(offsetof(LinkageRecord, init) == 4 && offsetof(LinkageRecord, deinit) == 8);
static_assert(offsetof(LinkageRecord, flags) == 12 && offsetof(LinkageRecord, priority) == 16);
static_assert(offsetof(LinkageRecord, version) == 20 && offsetof(LinkageRecord, gauges) == 24);
static_assert(offsetof(GaugeHeader, name) == 4);
static_assert(offsetof(GaugeHeader, elements) == 8);
static_assert(offsetof(GaugeHeader, host_routines) == 12);
static_assert(offsetof(GaugeHeader, reserved1) == 40);
static_assert(offsetof(GaugeHeader, size_x_mm) == 44);
static_assert(offsetof(GaugeHeader, size_y_mm) == 48);
static_assert(offsetof(GaugeHeader, x_adjust) == 52);
static_assert(offsetof(GaugeHeader, y_adjust) == 56);
static_assert(offsetof(GaugeHeader, reserved2) == 60);
static_assert(offsetof(GaugeHeader, reserved3) == 64);
static_assert(offsetof(GaugeHeader, position) == 68);
static_assert(offsetof(GaugeHeader, reserved4) == 76);
static_assert(offsetof(GaugeHeader, mouse_rects) == 80);
static_assert(offsetof(GaugeHeader, callback) == 84);
static_assert(offsetof(GaugeHeader, user_word) == 88);
static_assert(offsetof(GaugeHeader, parameters) == 92);
static_assert(offsetof(GaugeHeader, usage) == 96);
static_assert(offsetof(GaugeHeader, reserved5) == 100);
static_assert(offsetof(GaugeHeader, reserved6) == 104);
static_assert(offsetof(GaugeHeader, size) == 108);
static_assert(offsetof(GaugeHeader, user_area) == 116);
static_assert(offsetof(GaugeHeader, host_flags) == 196);
static_assert(offsetof(GaugeHeader, reserved7) == 200);
static_assert(sizeof(GaugeHeader) == 204);
static_assert(sizeof(ElementHeader) == 60);
static_assert(offsetof(ElementHeader, bitmap) == 4);
static_assert(offsetof(ElementHeader, position) == 8);
static_assert(offsetof(ElementHeader, previous_position) == 16);
static_assert(offsetof(ElementHeader, offset) == 24);
static_assert(offsetof(ElementHeader, gauge) == 32);
static_assert(offsetof(ElementHeader, previous) == 36);
static_assert(offsetof(ElementHeader, next) == 40);
static_assert(offsetof(ElementHeader, failures) == 44);
static_assert(offsetof(ElementHeader, flags) == 48);
static_assert(offsetof(ElementHeader, special_flags) == 52);
static_assert(offsetof(ElementHeader, reserved) == 56);
static_assert(sizeof(FailureEntry) == 12);
static_assert(sizeof(Image) == 32 && sizeof(ImageSet) == 16);
static_assert(sizeof(NeedlePoint) == 24);
static_assert(offsetof(NeedleElement, source) == 60 && offsetof(NeedleElement, callback) == 88);
static_assert(offsetof(NeedleElement, table) == 112 && offsetof(NeedleElement, table_count) == 116);
static_assert(offsetof(NeedleElement, needle) == 188 && sizeof(NeedleElement) == 224);
static_assert(offsetof(TextElement, callback) == 168 && offsetof(TextElement, text) == 184);
static_assert(offsetof(TextElement, box) == 192 && offsetof(TextElement, text_colour) == 208);
static_assert(offsetof(TextElement, font) == 248 && offsetof(TextElement, font_weight) == 280);
static_assert(offsetof(TextElement, charset) == 284 && offsetof(TextElement, format) == 288);
static_assert(offsetof(TextElement, max_chars) == 292 && sizeof(TextElement) == 312);
static_assert(offsetof(SliderElement, x_callback) == 88 && offsetof(SliderElement, y) == 104);
static_assert(offsetof(IconElement, callback) == 88 && offsetof(IconElement, scale) == 100);
static_assert(offsetof(MovingImageElement, y) == 112);
static_assert(offsetof(SpriteElement, angle) == 140 && offsetof(SpriteElement, centre) == 188);
static_assert(sizeof(MouseRect) == 44);
static_assert(offsetof(MouseRect, box) == 4 && offsetof(MouseRect, cursor) == 20);
static_assert(offsetof(MouseRect, help_id) == 24 && offsetof(MouseRect, flags) == 28);
static_assert(offsetof(MouseRect, event) == 32 && offsetof(MouseRect, action) == 36);
static_assert(offsetof(MouseRect, args) == 40);
static_assert(sizeof(Click) == 28);
static_assert(offsetof(MouseArg, scale) == 28 && sizeof(MouseArg) == 72);
#endif

}  // namespace orv::abi
