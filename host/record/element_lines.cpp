#include "host/record/element_lines.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace orv::host {

using namespace abi;

namespace {

char* copy(char* to, std::string_view s) {
  std::memcpy(to, s.data(), s.size());
  return to + s.size();
}

}  // namespace

ElementLines::ElementLines(Host& host, bool named) {
  for (u32 k = 0; k < kinds_.size(); ++k) kinds_[k] = describe_kind(k);
  const std::size_t count = host.instances().size();
  memo_.resize(count);
  names_.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::vector<ElementSlot>& slots = host.instance(i).elements();
    memo_[i].resize(slots.size());
    if (named) rename(i, host.instance(i).name());
    // Room for the longest line each element can have (a text's every
    // character escaped), so a run does not allocate as its texts grow.
    for (std::size_t k = 0; k < slots.size(); ++k) {
      const ElementHeader* e = slots[k].element;
      const std::size_t chars =
          e->kind == kText ? std::min<std::size_t>(reinterpret_cast<const TextElement*>(e)->max_chars, 1024)
                           : 0;
      ElementMemo& memo = memo_[i][k];
      memo.text.make_room(chars);
      memo.line.make_room(kLineRoom + kEscapeChars * chars);
    }
  }
}

void ElementLines::rename(std::size_t i, const char* gauge) {
  names_[i] = gauge;
  std::vector<ElementMemo>& memos = memo_[i];
  for (std::size_t k = 0; k < memos.size(); ++k) {
    ByteBuffer& line = memos[k].line;
    const std::string state(line.view().substr(memos[k].state_at));
    const std::string id = "  element " + std::to_string(i) + '.' + std::to_string(k) + ' ' + gauge + ' ';
    line.clear();
    line.append(id);
    line.append(state);
    memos[k].state_at = id.size();
  }
}

bool ElementLines::restate(const ElementSlot& slot, ElementMemo& memo) {
  const ElementHeader* e = slot.element;
  const RawState now = raw_state(slot);
  const bool first = memo.raw.hidden == RawState::kUnseen;
  memo.raw = now;
  const bool text_kind = e->kind == kText;
  const char* text = text_kind ? element_text(e) : "";
  const std::size_t text_size = text_kind ? std::strlen(text) : 0;
  if (text_kind) {
    memo.text.clear();
    memo.text.append(text, text_size);
  }

  // Raw values that differ may still print alike (digits past the sixth).
  const std::string_view state = format_state(e, slot.values.channel, now.hidden != 0, text, text_size);
  if (!first && state == memo.line.view().substr(memo.state_at)) return false;
  memo.line.truncate(memo.state_at);
  memo.line.append(state);
  return true;
}

std::string_view ElementLines::format_state(const ElementHeader* e, const double* channel, bool hidden,
                                            const char* text, std::size_t text_size) {
  const KindFormat kind = kind_format(e->kind);
  line_.clear();
  char* const start = line_.reserve(kLineRoom + kEscapeChars * text_size);
  char* o = copy(start, kind.name);
  for (int c = 0; c < kind.channels; ++c) {
    if (c == 0) {
      o = copy(o, " v=");
    } else {
      *o++ = ',';
    }
    o = numbers_.put(o, channel[c]);
  }
  if (e->kind != kText) {
    o = copy(o, " bmp=");
    o = std::to_chars(o, o + 10, e->bitmap).ptr;
  }
  o = copy(o, hidden ? std::string_view(" hidden") : std::string_view(" shown"));
  if (e->kind == kText) {
    o = copy(o, " text=\"");
    o = put_escaped(o, text);
    *o++ = '"';
  }
  return {start, static_cast<std::size_t>(o - start)};
}

}  // namespace orv::host
