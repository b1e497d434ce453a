// How the trace writes values: numbers as "%.6g" would, the same digits on
// every target, and the module's 8-bit texts escaped. The character-pointer
// forms write into a buffer the caller sized (kNumberChars, kEscapeChars a
// byte of text) and return the end: the trace's per-frame lines are made
// with them and allocate nothing.
#pragma once

#include <cstddef>
#include <string>

namespace orv::host {

// Room for any number put_number writes.
constexpr std::size_t kNumberChars = 32;

// The most bytes put_escaped writes for one byte of text.
constexpr std::size_t kEscapeChars = 4;

// Writes `v` as "%.6g" would (through std::to_chars, so alike on every
// target); returns the end.
char* put_number(char* out, double v);

// Writes `text` as the trace shows texts: the module's Windows-1252 as UTF-8,
// '"' and '\\' escaped, control bytes and the bytes the code page leaves
// undefined as \xNN; returns the end. `o` has room for kEscapeChars bytes a
// character.
char* put_escaped(char* o, const char* text);

// "%.6g" rules through std::to_chars: the same digits on every target; -0
// prints as 0, NaN as nan.
std::string format_number(double v);

// A text as the trace writes it: the module's Windows-1252 as UTF-8, '"' and
// '\\' escaped, control bytes and bytes the code page leaves undefined as
// \xNN.
std::string escape_text(const char* text);

}  // namespace orv::host
