#pragma once

// The window `Lumora` as data: its own properties and one table of every control on it.
// Positions and sizes are in twips (1440 to the inch, 15 to a pixel at 96 dpi), measured from
// the top-left corner of the container's inner area; inside a frame, from the frame's own corner.
// Every toolkit builds the window from this table, and the tests read it; nothing else restates
// a position, colour or text.

#include "control_names.h"
#include "toolkit.h"

#include <optional>
#include <span>
#include <string_view>

namespace lumora {

enum class ControlKind { Label, TextBox, ListBox, Frame, OptionButton, PictureBox, Timer };

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlDesign {
    ControlKind kind{};
    std::string_view name{};
    std::int16_t index = noIndex;
    // Name of the frame the control sits in; empty for the window itself.
    std::string_view container{};
    TwipRect bounds{};
    // Unset: the toolkit's default colours.
    std::optional<Colour> background{};
    // Caption of a label, frame or option button; initial text of a text box.
    TextView text{};
    std::span<const TextView> rows{};
    // On top of the window's font.
    bool bold = false;
    bool italic = false;
    bool centred = false;
    bool readOnly = false;
    // Text boxes: several lines wrapping at word boundaries, and a vertical scroll bar.
    bool multiLine = false;
    bool verticalScrollBar = false;
    bool visible = true;
    // Place in the keyboard focus order; -1 for timers, which have none.
    int tabPlace = -1;
    // Timers only; every timer is enabled from creation.
    int intervalMs = 0;
    // What a screen reader calls a control whose caption does not say what it is.
    TextView accessibleName{};
    // Labels only: the control this label names, for screen readers and the keyboard.
    ControlId labelFor{};
};

struct WindowDesign {
    TextView caption{};
    Colour background = 0;
    int innerWidth = 0; // twips
    int innerHeight = 0;
    std::string_view fontFamily{};
    int fontPoints = 0;
};

const WindowDesign& windowDesign();
std::span<const ControlDesign> controlDesigns();

// Position of `id` in controlDesigns(); throws RuntimeError (absent element) when the design has
// no such control, or (with `kind`) it is of another kind.
std::size_t designPosition(ControlId id);
std::size_t designPosition(ControlId id, ControlKind kind);
const ControlDesign& controlDesign(ControlId id, ControlKind kind);

// Text of `row` of a list as designed; empty when there is no such row, -1 included.
Text designRow(ControlId list, std::int16_t row);

} // namespace lumora
