#pragma once

// The child windows of the design's controls, all but the timers: Windows' own static texts,
// edit controls, list boxes, a group box with radio buttons, and our picture boxes. Made from the
// design table, each with the id of its position in it plus one; laid out with the design's fonts
// at a DPI; and stacked in the z-order that the dialog manager's Tab follows.

#include "picture_box.h"
#include "win32_colour.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace lumora::win32 {

class ControlWindows {
public:
    // Makes every control as a child of `parent`, unplaced; the picture boxes paint with
    // `brushes`, which outlive them.
    ControlWindows(HWND parent, SolidBrushes& brushes);
    ~ControlWindows();
    ControlWindows(const ControlWindows&) = delete;
    ControlWindows& operator=(const ControlWindows&) = delete;

    // Places and sizes every control at `dpi`, straight from the design's twips.
    void layout(int dpi);

    // The control at `position` in the design table; none for a timer.
    HWND handle(std::size_t position) const { return controls_[position].handle; }
    // The picture box at `position`, or none for another kind of control.
    PictureBox* picture(std::size_t position) const { return controls_[position].picture.get(); }

private:
    struct Control {
        HWND handle = nullptr;
        // Screen readers name a standard control by the static text just before it; where the
        // design has no label for it, an empty-sized one carries its name.
        HWND nameLabel = nullptr;
        std::unique_ptr<PictureBox> picture;
    };
    class Fonts;

    void make(std::size_t position);
    void orderFocus() const;

    HWND parent_;
    SolidBrushes& brushes_;
    HINSTANCE instance_;
    std::vector<Control> controls_; // one per entry of controlDesigns()
    std::unique_ptr<Fonts> fonts_;
};

} // namespace lumora::win32
