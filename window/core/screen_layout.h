#pragma once

// What every on-screen toolkit makes of the design table: pixels from twips, the order in which
// the keyboard focus visits the controls, and multi-line text as a text area takes it.

#include "window_design.h"

#include <cstddef>
#include <vector>

namespace lumora {

// The screen the design was drawn for; Qt's device-independent pixels and CSS pixels are its.
inline constexpr int designDpi = 96;

// 1440 twips to the inch. Rounded to the nearest pixel, halves up, each value straight from the
// design's twips (255 twips at 144 dpi are 26 pixels), so that equal controls stay equal.
constexpr int pixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

constexpr PixelRect pixelRect(const TwipRect& r, int dpi) {
    return {pixels(r.left, dpi), pixels(r.top, dpi), pixels(r.width, dpi), pixels(r.height, dpi)};
}

// Whether the keyboard focus can rest on a control of this design: text boxes, lists and option
// buttons (while shown). Labels and the frame hold places but never take the focus; picture
// boxes are pictures, not inputs.
bool takesFocus(const ControlDesign& design);

// Positions in controlDesigns() of every control that has a tab place (all but the timers), in
// that order: the order in which a reader of the window meets them.
std::vector<std::size_t> tabOrder();

// Positions in controlDesigns() of the controls that take the focus, in their tab places' order.
std::vector<std::size_t> focusOrder();

// Lines of the design end in CR LF, as a Windows edit control shows them; the text areas of Qt
// and of the page take each of CR and LF as a break, so they are given LF alone.
Text withLineFeeds(TextView text);

} // namespace lumora
