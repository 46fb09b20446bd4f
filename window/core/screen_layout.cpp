#include "screen_layout.h"

#include <algorithm>

namespace lumora {

bool takesFocus(const ControlDesign& design) {
    return design.kind == ControlKind::TextBox || design.kind == ControlKind::ListBox ||
           design.kind == ControlKind::OptionButton;
}

std::vector<std::size_t> tabOrder() {
    const auto designs = controlDesigns();
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        if (designs[i].tabPlace >= 0) {
            order.push_back(i);
        }
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return designs[a].tabPlace < designs[b].tabPlace;
    });
    return order;
}

std::vector<std::size_t> focusOrder() {
    std::vector<std::size_t> order = tabOrder();
    std::erase_if(order, [](std::size_t i) { return !takesFocus(controlDesigns()[i]); });
    return order;
}

Text withLineFeeds(TextView text) {
    Text lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')) {
            lines.push_back(text[i]);
        }
    }
    return lines;
}

} // namespace lumora
