#pragma once

// Text as the logic sees it: Unicode, one character per code point, positions 1-based.
// Lengths and positions are 32-bit; a negative count or a start below 1 is a run-time error.

#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

using Text = std::u32string;
using TextView = std::u32string_view;

// Up to `count` characters from the 1-based `start`; empty when `start` lies past the end.
// Throws RuntimeError (invalid argument) for start < 1 or count < 0.
Text substring(TextView text, std::int32_t start, std::int32_t count);

// The first `count` characters, or all of them when the text is shorter. count < 0 throws.
Text prefix(TextView text, std::int32_t count);

// Number of characters; throws RuntimeError (overflow) past the 32-bit range.
std::int32_t length(TextView text);

Text join(TextView first, TextView second);

// The leading unsigned decimal integer as a double: "20" is 20, "" and "x" are 0, "15 m" is 15.
double numericValue(TextView text);

// UTF-8 for reports and logs.
std::string toUtf8(TextView text);

} // namespace lumora
