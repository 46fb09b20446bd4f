#include "window_markup.h"

#include "screen_layout.h"

#include <string_view>

namespace lumora::web {
namespace {

// Text as HTML's text and attribute values take it.
std::string escaped(std::string_view text) {
    std::string html;
    html.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

std::string escaped(TextView text) {
    return escaped(std::string_view(toUtf8(text)));
}

std::string px(int pixels) {
    return std::to_string(pixels) + "px";
}

// The attributes of what is placed (the control itself, or the label round a radio button): its
// classes; its place and colour are in windowStyle(), by its id.
std::string placed(const ControlDesign& design, const ShownControl& shown) {
    std::string classes;
    for (const auto& [flag, name] : {std::pair{design.kind == ControlKind::Label, "label"},
                                     {design.kind == ControlKind::OptionButton, "option"},
                                     {design.multiLine, "panel"},
                                     {design.verticalScrollBar, "vertical-scroll-bar"},
                                     {design.bold, "bold"},
                                     {design.italic, "italic"},
                                     {design.centred, "centred"}}) {
        if (flag) {
            classes += classes.empty() ? "" : " ";
            classes += name;
        }
    }
    std::string html = classes.empty() ? "" : " class=\"" + classes + "\"";
    // Hidden controls are out of the layout, the focus order and the accessibility tree.
    if (!shown.visible) {
        html += " hidden";
    }
    return html;
}

// The attributes of the control itself: its name, and what a screen reader calls it.
std::string named(const ControlDesign& design, bool autofocus) {
    std::string html = " id=\"" + escaped(controlName({design.name, design.index})) + "\"";
    if (!design.accessibleName.empty()) {
        html += " aria-label=\"" + escaped(design.accessibleName) + "\"";
    }
    if (autofocus) {
        html += " autofocus";
    }
    return html;
}

std::string control(const ControlDesign& design, const ShownControl& shown, bool autofocus) {
    const std::string attributes = named(design, autofocus) + placed(design, shown);
    switch (design.kind) {
    case ControlKind::Label: {
        const bool names = !design.labelFor.name.empty();
        const std::string tag = names ? "label" : "div";
        const std::string target =
            names ? " for=\"" + escaped(controlName(design.labelFor)) + "\"" : "";
        return "<" + tag + attributes + target + ">" + escaped(design.text) + "</" + tag + ">";
    }
    case ControlKind::TextBox: {
        const std::string readOnly = design.readOnly ? " readonly" : "";
        if (design.multiLine) {
            // The parser drops a line feed straight after the start tag.
            return "<textarea" + attributes + readOnly + ">\n" +
                   escaped(withLineFeeds(shown.text)) + "</textarea>";
        }
        return "<input type=\"text\"" + attributes + readOnly + " value=\"" + escaped(shown.text) +
               "\">";
    }
    case ControlKind::ListBox: {
        // A size of 2 or more makes a list box, never a drop-down, whatever its height.
        std::string html = "<select" + attributes + " size=\"" +
                           std::to_string(std::max<std::size_t>(2, design.rows.size())) + "\">";
        for (std::size_t row = 0; row < design.rows.size(); ++row) {
            html += static_cast<int>(row) == shown.row ? "<option selected>" : "<option>";
            html += escaped(design.rows[row]) + "</option>";
        }
        return html + "</select>";
    }
    case ControlKind::Frame: // its options follow, then the caller closes it
        return "<fieldset" + attributes + "><legend>" + escaped(design.text) + "</legend>";
    case ControlKind::OptionButton:
        return "<label" + placed(design, shown) + "><input type=\"radio\" name=\"" +
               escaped(design.container) + "\"" + named(design, autofocus) +
               (shown.checked ? " checked" : "") + ">" + escaped(design.text) + "</label>";
    case ControlKind::PictureBox:
        return "<canvas role=\"img\"" + attributes + "></canvas>";
    case ControlKind::Timer:
        break;
    }
    return {};
}

// The controls in `container` (a frame's name, or empty for the window itself) in tab order, each
// frame with its own inside it.
std::string controls(std::string_view container, std::span<const ShownControl> shown,
                     std::size_t autofocus) {
    std::string html;
    for (const std::size_t position : tabOrder()) {
        const ControlDesign& design = controlDesigns()[position];
        if (design.container != container) {
            continue;
        }
        html += control(design, shown[position], position == autofocus);
        if (design.kind == ControlKind::Frame) {
            html += controls(design.name, shown, autofocus) + "</fieldset>";
        }
    }
    return html;
}

} // namespace

std::string windowMarkup(std::span<const ShownControl> shown) {
    const WindowDesign& window = windowDesign();
    std::string html = "<main id=\"Lumora\" class=\"window\" aria-label=\"" +
                       escaped(window.caption) + "\" aria-busy=\"true\">";
    const std::vector<std::size_t> focus = focusOrder();
    const std::size_t first = focus.empty() ? controlDesigns().size() : focus.front();
    return html + controls("", shown, first) + "</main>";
}

std::string windowStyle() {
    const WindowDesign& window = windowDesign();
    const int width = pixels(window.innerWidth, designDpi);
    // The page's own serif first: the same metrics, and on every visitor's machine.
    std::string css = "#Lumora {\n    --width: " + px(width) +
                      ";\n    --design-width: " + std::to_string(width) +
                      ";\n    --height: " + px(pixels(window.innerHeight, designDpi)) +
                      ";\n    background-color: " + hexColour(window.background) +
                      ";\n    font-size: " + std::to_string(window.fontPoints) +
                      "pt;\n    font-family: var(--serif), \"" + std::string(window.fontFamily) +
                      "\", serif;\n}\n";
    for (const ControlDesign& design : controlDesigns()) {
        if (design.kind == ControlKind::Timer) {
            continue;
        }
        // An option button is placed by the label round it.
        const std::string id = controlName({design.name, design.index});
        const std::string selector = design.kind == ControlKind::OptionButton
                                         ? "label:has(> [id=\"" + id + "\"])"
                                         : "[id=\"" + id + "\"]";
        const PixelRect r = pixelRect(design.bounds, designDpi);
        css += selector + " {\n    left: " + px(r.left) + ";\n    top: " + px(r.top) +
               ";\n    width: " + px(r.width) + ";\n    height: " + px(r.height) + ";\n";
        if (design.background) {
            css += "    background-color: " + hexColour(*design.background) + ";\n";
        }
        css += "}\n";
    }
    // The option buttons are 24 pixels apart, as near as a finger's targets may be (WCAG 2.5.8).
    // In a window shrunk for a narrower screen the upper one moves up, into the 8 pixels of room
    // under the frame's caption, to stay so (down to a zoom of 0.75); the lower one keeps its
    // distance from the task panel below the frame.
    css += "@media (width < " + px(width) +
           ") {\n    .option:has(+ .option) {\n        translate: 0 clamp(-8px, 24px - 24px / "
           "var(--zoom), 0px);\n    }\n}\n";
    return css;
}

} // namespace lumora::web
