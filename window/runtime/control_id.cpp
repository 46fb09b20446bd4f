#include "control_id.h"

namespace lumora {

std::string controlName(ControlId id) {
    std::string name(id.name);
    if (id.index != noIndex) {
        // Appended piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict) about the
        // temporaries of "(" + std::to_string(index) + ")".
        name += '(';
        name += std::to_string(id.index);
        name += ')';
    }
    return name;
}

} // namespace lumora
