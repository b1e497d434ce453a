// A small gauge module for the host's tests, built from the binary records
// alone. Its callbacks report what the host does to them by sending key
// events in the 900000 range, so a test reads the whole call order from the
// host's event log:
//   900000 + service      gauge callback (value: the instance's user word)
//   900100..900103        element callbacks, in the order they run
//   900200..900203        the inner box's mouse callback (point, flags, box)
//   900001 / 900099       module init / deinit
//   900300                a text argument callback: 1 when handed its own
//                         table entry's source variable
// An instance placed with the parameter "crash" faults (SIGSEGV) in the third
// run of its text callback.
// Variants (compile definitions) break one record each, for the load checks,
// or crash in start-up code (PROBE_CRASH_AT_LOAD) or abort in module init
// (PROBE_ABORT_IN_INIT).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/gauge_abi.h"

#if defined(_WIN32)
#include <windows.h>
#define PROBE_EXPORT __declspec(dllexport)
#else
#define PROBE_EXPORT __attribute__((visibility("default")))
#endif

using namespace orv::abi;

extern "C" {
PROBE_EXPORT ImportTableRecord ImportTable = {kImportTableId, nullptr, 0, nullptr};
}

namespace {

void send(u32 event, u32 value) {
  if (ImportTable.services == nullptr) return;
  reinterpret_cast<TriggerKeyEventFn>(ImportTable.services[kSlotTriggerKeyEvent])(event, value);
}

bool has_parameter(const GaugeHeader* g, const char* word) {
  return g != nullptr && g->parameters != nullptr && std::strstr(g->parameters, word) != nullptr;
}

void ORV_CALL probe_callback(GaugeHeader* g, i32 service, uptr extra) {
  if (service == kServiceInstall) {
    g->user_word += 1;  // per instance: every instance sees 1
    if (extra == 0) send(900098, 0);
  }
  send(900000 + static_cast<u32>(service), static_cast<u32>(g->user_word));
}

f64 ORV_CALL needle_value(void* element) {
  send(900100, 0);
  return static_cast<NeedleElement*>(element)->source.value.n * 2.0;
}

f64 ORV_CALL text_value(void* element) {
  auto* t = static_cast<TextElement*>(element);
  send(900101, 0);
  // An instance placed with "crash" faults in its third text evaluation.
  static int evaluations = 0;
  if (has_parameter(t->h.gauge, "crash") && ++evaluations == 3) std::raise(SIGSEGV);
  std::snprintf(t->text, t->max_chars + 1u, "HDG %03.0f OVERLONG", t->source[0].value.n);
  return t->source[0].value.n;
}

f64 ORV_CALL icon_value(void* element) {
  auto* e = static_cast<ElementHeader*>(element);
  send(900102, 0);
  const bool hide = has_parameter(e->gauge, "hide");
  e->flags = hide ? (e->flags | kHiddenFlag) : (e->flags & ~kHiddenFlag);
  return 3.0;
}

f64 ORV_CALL sprite_y(void*) {
  send(900103, 0);
  return 5.0;
}

i32 ORV_CALL inner_click(Click* c, u32 flags) {
  send(900200, static_cast<u32>(c->point.x * 100 + c->point.y));
  send(900201, flags);
  send(900202, static_cast<u32>(c->rect->box.x * 100 + c->rect->box.y));
  send(900203, has_parameter(c->gauge, "probe") ? 1 : 0);
  if (has_parameter(c->gauge, "close")) {
    reinterpret_cast<PanelWindowToggleFn>(ImportTable.services[kSlotPanelWindowToggle])(0);
  }
  return 0;
}

i32 ORV_CALL right_click(Click*, u32 flags) {
  send(900210, flags);
  return 0;
}

extern GaugeHeader probe;
extern GaugeHeader empty;

const char* ORV_CALL source_name(f64 number, u32, const char*, TokenVar* var, GaugeHeader*) {
  send(900300, var == &probe.mouse_rects[1].args[1].source ? 1 : 0);
  return number > 0 ? "GPS" : "NAV";
}

// Elements in drawing order: background, its two followers, icon, sprite.
#if defined(PROBE_READONLY_NEEDLE_TABLE)
const NeedlePoint needle_points[] = {{{0, 0}, 0.0, 0.0}, {{10, 0}, 1.0, 0.0}};
NeedleElement needle{.h = {.kind = kNeedle, .bitmap = 20, .gauge = &probe},
                     .source = {.id = 84},
                     .callback = needle_value,
                     .table = const_cast<NeedlePoint*>(needle_points),
                     .table_count = 2};
#else
NeedleElement needle{
    .h = {.kind = kNeedle, .bitmap = 20, .gauge = &probe}, .source = {.id = 84}, .callback = needle_value};
#endif
TextElement text{.h = {.kind = kText, .bitmap = kNoBitmap, .gauge = &probe},
                 .source = {{.id = 84}, {}, {}},
                 .callback = {text_value, nullptr, nullptr},
                 .max_chars = 7};
ElementHeader* background_next[] = {&needle.h, &text.h, nullptr};
#if defined(PROBE_BAD_KIND)
constexpr u32 kBackgroundKind = 9;
#else
constexpr u32 kBackgroundKind = kStaticImage;
#endif
StaticElement background{
    .h = {.kind = kBackgroundKind, .bitmap = 10, .gauge = &probe, .next = background_next}};
IconElement icon{.h = {.kind = kIcon, .bitmap = 30, .gauge = &probe}, .callback = icon_value};
SpriteElement sprite{.h = {.kind = kSprite, .bitmap = 40, .gauge = &probe},
                     .x = {.id = 78},
                     .y_callback = sprite_y,
                     .angle = {.id = 80}};
ElementHeader* elements[] = {&background.h, &icon.h, &sprite.h, nullptr};

#if defined(PROBE_READONLY_TOOLTIP_ARGS)
const
#endif
    MouseArg tooltip_args[] = {
        {.source = {.id = 855}},
        {.source = {.id = 848}, .string_callback = source_name},
};

#if defined(PROBE_READONLY_MOUSE_LIST)
const
#endif
    MouseRect mouse[] = {
        {.kind = kMouseArea},
        {.kind = kMouseTooltip,
         .event = 2,
         .action = {.text = "Heading %1!03d! (%2!s!) at %((A:KOHLSMAN SETTING MB,millibar))%!d! mb"},
         .args = const_cast<MouseArg*>(tooltip_args)},
        {.kind = kMouseBox, .box = {0, 0, 10, 10}, .flags = kMouseLeftSingle, .event = 65883},
        {.kind = kMouseArea, .box = {20, 20, 40, 40}, .help_id = 43910},
        {.kind = kMouseBox,
         .box = {5, 5, 10, 10},
         .flags = kMouseLeftSingle | kMouseRightSingle,
         .action = {.fn = inner_click}},
        {.kind = kMouseAreaEnd},
        {.kind = kMouseBox,
         .box = {60, 0, 10, 10},
         .flags = kMouseRightSingle,
         .action = {.fn = right_click}},
        // Overlaps the box above: the first box in list order that takes a click wins.
        {.kind = kMouseBox,
         .box = {60, 0, 20, 10},
         .flags = kMouseLeftSingle | kMouseRightSingle,
         .event = 65884},
        {.kind = kMouseEnd},
};

ElementHeader* no_elements[] = {nullptr};

#if defined(PROBE_NAME_OUTSIDE)
// A name pointer to a low address no module maps.
const char* const kProbeName = reinterpret_cast<const char*>(0x1000);
#else
const char* const kProbeName = "Probe";
#endif
GaugeHeader probe{.version = kGaugeHeaderVersion,
                  .name = kProbeName,
                  .elements = elements,
                  .size_x_mm = 80,
                  .mouse_rects = const_cast<MouseRect*>(mouse),
                  .callback = probe_callback};
[[maybe_unused]] GaugeHeader empty{
    .version = kGaugeHeaderVersion, .name = "Empty", .elements = no_elements, .size_x_mm = 10};

[[maybe_unused]] void ORV_CALL module_init() {
#if defined(PROBE_ABORT_IN_INIT)
  std::abort();
#endif
  send(900001, 0);
}

#if defined(PROBE_CRASH_AT_LOAD)
// Start-up code that faults while the system loader runs it (a write
// through a null pointer natively would stop the sanitizers first).
#if defined(_WIN32)
volatile int* volatile start_up_target = nullptr;
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) *start_up_target = 1;
  return TRUE;
}
#else
__attribute__((constructor)) void crash_at_start_up() { std::raise(SIGSEGV); }
#endif
#endif
[[maybe_unused]] void ORV_CALL module_deinit() { send(900099, 0); }

}  // namespace

#if !defined(PROBE_NO_LINKAGE)
extern "C" {
PROBE_EXPORT LinkageRecord Linkage = {kModuleId,
                                      module_init,
                                      module_deinit,
                                      0,
                                      0,
#if defined(PROBE_BAD_VERSION)
                                      0x800,
#else
                                      kModuleVersion,
#endif
#if defined(PROBE_REGISTRY_OUTSIDE)
                                      // An entry pointing to a low address no module maps.
                                      {&probe, reinterpret_cast<GaugeHeader*>(0x10), nullptr}};
#else
                                      {&probe, &empty, nullptr}};
#endif
}
#endif
