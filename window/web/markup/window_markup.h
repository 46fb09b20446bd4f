#pragma once

// The window as the page's HTML: `<main id="Lumora">` with every control of the design table as
// an HTML control (labels, a read-only input, list boxes, a fieldset of radio buttons, read-only
// textareas, canvases), absolutely placed at the design's size in CSS pixels by windowStyle(), in
// tab-place order so that the keyboard and a screen reader meet them as on the desktop. Written
// into index.html when the site is built, so that the browser shows the billboard before the
// program has arrived; the program then takes these elements over by their ids, the controls'
// names.

#include "text_functions.h"
#include "window_design.h"

#include <span>
#include <string>

namespace lumora::web {

// What a control shows when the window first appears: as the window's Load leaves it, so that
// nothing changes when the program takes the window over.
struct ShownControl {
    int row = -1;         // list boxes: the chosen row
    bool checked = false; // option buttons
    Text text;            // text boxes
    bool visible = true;
};

// One entry of `shown` per entry of controlDesigns(). The window is marked busy (aria-busy) until
// the program has taken it over; until then the page ignores a visitor's clicks and keys on it.
std::string windowMarkup(std::span<const ShownControl> shown);

// The window's place and colours and each control's, as CSS rules by the elements' ids: the page
// takes them into its one stylesheet, since its security policy allows no style attribute.
std::string windowStyle();

} // namespace lumora::web
