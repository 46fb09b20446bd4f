#pragma once

// How the program names a control: by its design name and its index in a control array. The
// run-time errors name controls so too.

#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

// `index` is the element of a control array, from 0; `noIndex` for a control that is no array.
inline constexpr std::int16_t noIndex = -1;

struct ControlId {
    std::string_view name;
    std::int16_t index = noIndex;
};

// The name as the designer writes it: "Picture1(3)", "Timer1".
std::string controlName(ControlId id);

} // namespace lumora
