// Arc tangent, arc sine, arc cosine, tangent and hypotenuse for the module
// and the host that give the same double whatever precision the process's
// x87 unit is set to.
//
// The 32-bit Windows builds compute in SSE2 registers, but the C runtime's
// maths are x87 code. Most of what we call is exact or made of instructions
// that precision control does not touch (floor, fmod, sqrt, sin, cos, atan2),
// but msvcrt's atan, asin, acos, tan and _hypot are not: at 24-bit precision
// every result changes, at 53 or 64 bits some do, and they differ between
// Windows releases and Wine besides. On that target these functions are
// computed here, in the x87 unit set to 64-bit precision and round to nearest
// for the call and restored after, and rounded once to double; elsewhere they
// are the C library's own (SSE2 code on x86-64).
#pragma once

#include <cmath>

namespace orv::stable {

#if defined(_WIN32) && defined(__i386__)

namespace detail {

// The x87 control word for the scope: 64-bit precision, round to nearest,
// every exception masked; the caller's word is back at the end.
class ExtendedPrecision {
 public:
  ExtendedPrecision() {
    const unsigned short extended = 0x037f;
    __asm__ volatile("fnstcw %0" : "=m"(saved_));
    __asm__ volatile("fldcw %0" : : "m"(extended));
  }
  ~ExtendedPrecision() { __asm__ volatile("fldcw %0" : : "m"(saved_)); }
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

 private:
  unsigned short saved_ = 0;
};

// atan(y / x) in the quadrant of (x, y): FPATAN, which precision control does
// not affect.
inline long double arctangent(long double y, long double x) {
  long double r;
  __asm__("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
  return r;
}

// sqrt(1 - x^2) without the cancellation of 1 - x * x near |x| = 1; NaN
// beyond.
inline long double cosine_of_arcsine(long double x) { return sqrtl((1.0L - x) * (1.0L + x)); }

}  // namespace detail

inline double atan(double x) {
  detail::ExtendedPrecision scope;
  return static_cast<double>(detail::arctangent(x, 1.0L));
}

inline double asin(double x) {
  detail::ExtendedPrecision scope;
  return static_cast<double>(detail::arctangent(x, detail::cosine_of_arcsine(x)));
}

inline double acos(double x) {
  detail::ExtendedPrecision scope;
  return static_cast<double>(detail::arctangent(detail::cosine_of_arcsine(x), x));
}

inline double tan(double x) {
  // FPTAN takes |x| < 2^63; beyond, the ratio of the runtime's sine and
  // cosine, which reduce the argument themselves (NaN for infinities).
  if (!(std::fabs(x) < 0x1p63)) return std::sin(x) / std::cos(x);
  detail::ExtendedPrecision scope;
  long double one, r;
  __asm__("fptan" : "=t"(one), "=u"(r) : "0"(static_cast<long double>(x)));
  static_cast<void>(one);
  return static_cast<double>(r);
}

inline double hypot(double a, double b) {
  if (std::isinf(a) || std::isinf(b)) return INFINITY;
  detail::ExtendedPrecision scope;
  const long double x = a, y = b;
  return static_cast<double>(sqrtl(x * x + y * y));
}

#else

inline double atan(double x) { return std::atan(x); }
inline double asin(double x) { return std::asin(x); }
inline double acos(double x) { return std::acos(x); }
inline double tan(double x) { return std::tan(x); }
inline double hypot(double a, double b) { return std::hypot(a, b); }

#endif

}  // namespace orv::stable
