// The module's text formatter: snprintf's output, byte for byte, for the
// formats the gauges write on every update, without the C library's general
// machinery (which costs thousands of instructions per call for a floating
// point conversion).
//
// Written directly: plain characters and "%%"; %d %i %u %x %X %c with the
// flags '-', '+', ' ' and '0', a width and a precision; %s (a non-null
// string) with a width and a precision ("%.*s" too); %f with a precision of
// 0 to 3. A fixed-point number is the exact binary value of the double,
// rounded to the precision with ties to even, as the C library rounds it; the
// sign is that of the double, so -0.0 and -0.2 print as "-0".
//
// Anything else (another conversion or length modifier, the '#' flag, a %f
// with more than three decimals, a value that is not finite or too large for
// 64 bits, a null %s) goes to vsnprintf, so the output is the C library's in
// every case.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace orv {

// As vsnprintf(buffer, size, format, args): the text is cut to size - 1
// characters and terminated (nothing is written when size is 0), and the
// return value is the length the whole text would have had (negative when
// vsnprintf reports an error).
int format_text(char* buffer, std::size_t size, const char* format, std::va_list args);

}  // namespace orv
