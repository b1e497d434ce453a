// Reading the parameter string that the panel configuration gives a gauge
// instance.
//
// A key is a short literal (usually one lower-case letter) and its value is
// the text right after it. Everything from the first "/", "#" or apostrophe on
// is comment, so a key that only occurs after one counts as absent. Window and
// help names are upper case and never contain a key letter.
//
// All functions take the host's string in place, accept null, and never write
// to it.
#pragma once

#include <cstdint>

namespace orv::controls {

// The characters that start a comment.
inline bool is_comment(char c) { return c == '/' || c == '#' || c == '\''; }

// The value of the first occurrence of `key` in `text`, or null when the key is
// absent (no occurrence, or a comment character before it).
const char* find_key(const char* text, const char* key);

// Calls `action(value)` for every occurrence of a repeatable key, in text
// order. Each search continues after the previous key, so the repetition also
// stops at the first comment character.
template <typename Action>
void for_each_key(const char* text, const char* key, Action&& action) {
  for (const char* value = find_key(text, key); value != nullptr; value = find_key(value, key)) {
    action(value);
  }
}

// The leading decimal integer of `text` in the manner of atoi (blanks, a sign,
// digits; anything else ends it; no digits reads as 0), saturated to the
// 32-bit range instead of overflowing.
std::int32_t leading_int(const char* text);

// Panel window number of a window key's value: a panel name gives its fixed
// number, anything else its leading integer (0, the main panel, for a word);
// an empty value gives -1, no window.
std::int32_t window_reference(const char* value);

// Host help id of a help key's value: a toggle name gives its fixed id,
// anything else its leading integer, where numbers below 40960 (and an empty
// value) give 0, no help id.
std::uint32_t help_reference(const char* value);

}  // namespace orv::controls
