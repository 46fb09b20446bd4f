#pragma once

// Whole-number arithmetic of the window's fields. Integer fields are 16-bit (-32768..32767) and
// long values 32-bit; a result outside its range is a run-time error (overflow), never a wrap.

#include <cstdint>

namespace lumora {

// Round to nearest, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2); NaN and results out of
// range throw RuntimeError (overflow).
std::int16_t toInteger(double value);
std::int32_t toLong(double value);

std::int16_t add16(std::int16_t a, std::int16_t b);
std::int16_t subtract16(std::int16_t a, std::int16_t b);
// The remainder takes the dividend's sign (-7 mod 3 is -1); divisor 0 throws RuntimeError
// (division by zero).
std::int16_t remainder16(std::int16_t dividend, std::int16_t divisor);

} // namespace lumora
