#include "integer_arithmetic.h"

#include "runtime_error.h"

#include <cmath>
#include <limits>

namespace lumora {
namespace {

double roundHalfToEven(double value) {
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2 * std::round(value / 2);
    }
    return std::round(value);
}

template <typename Integer> Integer toChecked(double value) {
    const double rounded = roundHalfToEven(value);
    // NaN fails both comparisons and so lands here too.
    if (!(rounded >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Integer>::max()))) {
        throw RuntimeError::overflow();
    }
    return static_cast<Integer>(rounded);
}

std::int16_t checked16(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw RuntimeError::overflow();
    }
    return static_cast<std::int16_t>(value);
}

} // namespace

std::int16_t toInteger(double value) {
    return toChecked<std::int16_t>(value);
}

std::int32_t toLong(double value) {
    return toChecked<std::int32_t>(value);
}

std::int16_t add16(std::int16_t a, std::int16_t b) {
    return checked16(std::int32_t{a} + std::int32_t{b});
}

std::int16_t subtract16(std::int16_t a, std::int16_t b) {
    return checked16(std::int32_t{a} - std::int32_t{b});
}

std::int16_t remainder16(std::int16_t dividend, std::int16_t divisor) {
    if (divisor == 0) {
        throw RuntimeError::divisionByZero();
    }
    // In 32 bits, so that -32768 mod -1 is 0 rather than a trap.
    return checked16(std::int32_t{dividend} % std::int32_t{divisor});
}

} // namespace lumora
