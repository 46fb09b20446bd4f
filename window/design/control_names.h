#pragma once

// The designer's names of the window's controls: a constant for each control and control array,
// so that a misspelt name fails to compile. The design table names its controls with them, and
// the logic, the toolkits and the tests address controls through them.

#include "control_id.h"

#include <cstdint>
#include <string_view>

namespace lumora {

// A control array: `Picture1(3)` is its element 3.
struct ControlArray {
    std::string_view name;
    constexpr ControlId operator()(std::int16_t index) const { return {name, index}; }
};

inline constexpr ControlArray Label1{"Label1"};
inline constexpr ControlArray Text1{"Text1"};
inline constexpr ControlArray Text2{"Text2"};
inline constexpr ControlArray List1{"List1"};
inline constexpr ControlArray Option1{"Option1"};
inline constexpr ControlArray Picture1{"Picture1"};
inline constexpr ControlArray Picture2{"Picture2"};
inline constexpr ControlArray Picture3{"Picture3"};
inline constexpr ControlId Frame1{"Frame1"};
inline constexpr ControlId Timer1{"Timer1"};
inline constexpr ControlId Timer2{"Timer2"};

} // namespace lumora
