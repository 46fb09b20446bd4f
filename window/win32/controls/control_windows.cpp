#include "control_windows.h"

#include "screen_layout.h"
#include "win32_colour.h"
#include "win32_text.h"
#include "window_design.h"

#include <commctrl.h>

namespace lumora::win32 {
namespace {

constexpr DWORD childStyle = WS_CHILD | WS_CLIPSIBLINGS;

// A read-only text box should not keep Tab and Enter for itself, so that they move on through
// the window as in a dialog.
LRESULT CALLBACK passDialogKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE) {
        return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return result;
}

} // namespace

// The design's font at one DPI, in each style a control of the design asks for.
class ControlWindows::Fonts {
public:
    explicit Fonts(int dpi) : dpi_(dpi) {}

    HFONT font(bool bold, bool italic) {
        GdiObject<HFONT>& owned = fonts_[(bold ? 2 : 0) + (italic ? 1 : 0)];
        if (!owned) {
            const WindowDesign& design = windowDesign();
            const std::wstring family(design.fontFamily.begin(), design.fontFamily.end());
            owned.reset(CreateFontW(-MulDiv(design.fontPoints, dpi_, 72), 0, 0, 0,
                                    bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                                    RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_ROMAN, family.c_str()));
        }
        return owned.get();
    }

private:
    int dpi_;
    GdiObject<HFONT> fonts_[4];
};

ControlWindows::ControlWindows(HWND parent, SolidBrushes& brushes)
    : parent_(parent), brushes_(brushes),
      instance_(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE))),
      controls_(controlDesigns().size()) {
    for (std::size_t position = 0; position < controls_.size(); ++position) {
        make(position);
    }
    orderFocus();
}

ControlWindows::~ControlWindows() = default;

void ControlWindows::make(std::size_t position) {
    const ControlDesign& design = controlDesigns()[position];
    Control& control = controls_[position];
    DWORD style = childStyle | (design.visible ? WS_VISIBLE : 0);
    DWORD exStyle = 0;
    const wchar_t* className = L"";
    std::wstring text = wideText(design.text);
    switch (design.kind) {
    case ControlKind::Label:
        className = WC_STATICW;
        style |= SS_NOPREFIX | (design.centred ? SS_CENTER : SS_LEFT);
        break;
    case ControlKind::TextBox:
        className = WC_EDITW;
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | WS_GROUP | (design.readOnly ? ES_READONLY : 0) |
                 (design.centred ? ES_CENTER : ES_LEFT);
        style |= design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        style |= design.verticalScrollBar ? WS_VSCROLL : 0;
        break;
    case ControlKind::ListBox:
        className = WC_LISTBOXW;
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        break;
    case ControlKind::Frame:
        className = WC_BUTTONW;
        style |= BS_GROUPBOX;
        break;
    case ControlKind::OptionButton: {
        className = WC_BUTTONW;
        style |= BS_AUTORADIOBUTTON;
        // The first button of its frame starts the group that the arrow keys move within.
        const auto designs = controlDesigns();
        const bool first = designPosition({design.container}) + 1 == position ||
                           designs[position - 1].container != design.container;
        style |= first ? WS_GROUP | WS_TABSTOP : 0;
        break;
    }
    case ControlKind::PictureBox:
        control.picture = std::make_unique<PictureBox>(
            parent_, design.background.value_or(windowDesign().background), design.visible,
            brushes_);
        control.handle = control.picture->handle();
        SetWindowTextW(control.handle, wideText(design.accessibleName).c_str());
        return;
    case ControlKind::Timer:
        return;
    }
    control.handle = CreateWindowExW(exStyle, className, text.c_str(), style, 0, 0, 0, 0, parent_,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(position + 1)),
                                     instance_, nullptr);
    if (design.kind == ControlKind::TextBox) {
        SetWindowSubclass(control.handle, &passDialogKeys, 0, 0);
    }
    if (!design.accessibleName.empty()) {
        control.nameLabel =
            CreateWindowExW(0, WC_STATICW, wideText(design.accessibleName).c_str(),
                            childStyle | SS_NOPREFIX | (design.visible ? WS_VISIBLE : 0), 0, 0, 0,
                            0, parent_, nullptr, instance_, nullptr);
    }
    for (const TextView row : design.rows) {
        SendMessageW(control.handle, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wideText(row).c_str()));
    }
}

void ControlWindows::layout(int dpi) {
    // The old fonts go only once no control uses them.
    auto fonts = std::make_unique<Fonts>(dpi);
    const auto designs = controlDesigns();
    for (std::size_t position = 0; position < designs.size(); ++position) {
        const ControlDesign& control = designs[position];
        if (control.kind == ControlKind::Timer) {
            continue;
        }
        TwipRect bounds = control.bounds;
        if (!control.container.empty()) {
            const TwipRect& frame = designs[designPosition({control.container})].bounds;
            bounds.left += frame.left;
            bounds.top += frame.top;
        }
        const PixelRect r = pixelRect(bounds, dpi);
        const HWND handle = controls_[position].handle;
        MoveWindow(handle, r.left, r.top, r.width, r.height, FALSE);
        if (controls_[position].picture) {
            controls_[position].picture->resized(dpi);
        } else {
            SendMessageW(handle, WM_SETFONT,
                         reinterpret_cast<WPARAM>(fonts->font(control.bold, control.italic)),
                         FALSE);
        }
    }
    fonts_ = std::move(fonts);
}

// The dialog manager moves the focus through the children from the top of their z-order down,
// so the controls that take the focus go on top, in their tab places' order, each just after the
// label that names it; the frames go to the bottom, under the buttons they hold.
void ControlWindows::orderFocus() const {
    const auto designs = controlDesigns();
    std::vector<HWND> order;
    std::vector<bool> placed(designs.size(), false);
    for (const std::size_t position : focusOrder()) {
        for (std::size_t label = 0; label < designs.size(); ++label) {
            if (designs[label].kind == ControlKind::Label &&
                !designs[label].labelFor.name.empty() &&
                designPosition(designs[label].labelFor) == position) {
                order.push_back(controls_[label].handle);
                placed[label] = true;
            }
        }
        if (controls_[position].nameLabel != nullptr) {
            order.push_back(controls_[position].nameLabel);
        }
        order.push_back(controls_[position].handle);
        placed[position] = true;
    }
    for (const bool frames : {false, true}) {
        for (std::size_t position = 0; position < designs.size(); ++position) {
            if (!placed[position] && controls_[position].handle != nullptr &&
                (designs[position].kind == ControlKind::Frame) == frames) {
                order.push_back(controls_[position].handle);
            }
        }
    }
    for (const HWND window : order) {
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

} // namespace lumora::win32
