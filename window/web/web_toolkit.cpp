#include "web_toolkit.h"

#include "event_dispatch.h"
#include "page_timers.h"
#include "picture_canvas.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "window_design.h"

#include <emscripten/bind.h>

#include <functional>
#include <string>
#include <vector>

namespace lumora {

using emscripten::val;

namespace {

// CSS pixels are pixels at 96 dpi; the browser scales them to the screen itself.
constexpr int cssDpi = 96;

val document() {
    return val::global("document");
}

val createElement(const char* tag) {
    return document().call<val>("createElement", std::string(tag));
}

void setStyle(const val& element, const char* property, const std::string& value) {
    element["style"].call<void>("setProperty", std::string(property), value);
}

std::string px(int pixels) {
    return std::to_string(pixels) + "px";
}

// Place and colour in one write: the page's start-up pays for every call into it.
void placeAndFill(val& element, const TwipRect& bounds, std::optional<Colour> colour) {
    const PixelRect r = pixelRect(bounds, cssDpi);
    std::string style = "left:" + px(r.left) + ";top:" + px(r.top) + ";width:" + px(r.width) +
                        ";height:" + px(r.height);
    if (colour) {
        style += ";background-color:" + cssColour(*colour);
    }
    element["style"].set("cssText", style);
}

std::string elementId(ControlId id) {
    return controlName(id);
}

// Lines of the design end in CR LF; a textarea keeps LF alone.
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

} // namespace

// The page calls back into the toolkit through this object: each control's change listener is
// its `changed` bound to the control's position in the design.
class PageEvents {
public:
    explicit PageEvents(std::function<void(std::size_t)> changed) : changed_(std::move(changed)) {}

    // `event` is the DOM's change event; the position says all that is needed.
    void changed(int position, val /*event*/) { changed_(static_cast<std::size_t>(position)); }

private:
    std::function<void(std::size_t)> changed_;
};

EMSCRIPTEN_BINDINGS(lumora_page_events) {
    emscripten::class_<PageEvents>("LumoraPageEvents")
        .smart_ptr<std::shared_ptr<PageEvents>>("LumoraPageEventsHandle")
        .function("changed", &PageEvents::changed);
}

struct WebToolkit::Page {
    struct Control {
        val element = val::null(); // the control itself: input, select, textarea, canvas...
        val box = val::null();     // what is placed: the element, or the label round a radio
        std::unique_ptr<PictureCanvas> picture;
        std::size_t timer = 0; // timers: its number in `timers`
        std::int16_t row = -1; // lists: the row chosen last
    };

    explicit Page(TimerGroup::Clock clock) : timers(std::move(clock)) {}

    val window = val::null();
    std::vector<Control> controls; // one per entry of controlDesigns()
    PageTimers timers;
    std::shared_ptr<PageEvents> listener =
        std::make_shared<PageEvents>([this](std::size_t position) { changed(position); });
    val listenerHandle{listener};
    EventDispatch events{[this](const RuntimeError& error) { fail(error); }};

    Control& find(ControlId id, ControlKind kind) { return controls[designPosition(id, kind)]; }

    Control create(const ControlDesign& design, std::size_t position);
    void listen(const val& element, std::size_t position);
    // A user's change of a list or an option button.
    void changed(std::size_t position);
    void fail(const RuntimeError& error);
};

void WebToolkit::Page::listen(const val& element, std::size_t position) {
    const val handler =
        listenerHandle["changed"].call<val>("bind", listenerHandle, static_cast<int>(position));
    element.call<void>("addEventListener", std::string("change"), handler);
}

WebToolkit::Page::Control WebToolkit::Page::create(const ControlDesign& design,
                                                   std::size_t position) {
    const ControlId id{design.name, design.index};
    Control control;
    switch (design.kind) {
    case ControlKind::Label:
        control.element = createElement(design.labelFor.name.empty() ? "div" : "label");
        control.element.set("textContent", Text(design.text));
        if (!design.labelFor.name.empty()) {
            control.element.set("htmlFor", elementId(design.labelFor));
        }
        control.element["classList"].call<void>("add", std::string("label"));
        break;
    case ControlKind::TextBox:
        if (design.multiLine) {
            control.element = createElement("textarea");
            control.element.set("value", withLineFeeds(design.text));
            // The caret at the start, so that the panel opens at its first line.
            control.element.call<void>("setSelectionRange", 0, 0);
            control.element["classList"].call<void>("add", std::string("panel"));
            if (design.verticalScrollBar) {
                control.element["classList"].call<void>("add", std::string("vertical-scroll-bar"));
            }
        } else {
            control.element = createElement("input");
            control.element.set("type", std::string("text"));
            control.element.set("value", Text(design.text));
        }
        control.element.set("readOnly", design.readOnly);
        break;
    case ControlKind::ListBox: {
        control.element = createElement("select");
        // A size of 2 or more makes a list box, never a drop-down, whatever its height.
        control.element.set("size", std::max<int>(2, static_cast<int>(design.rows.size())));
        for (const TextView row : design.rows) {
            val option = createElement("option");
            option.set("textContent", Text(row));
            control.element.call<void>("append", option);
        }
        listen(control.element, position);
        break;
    }
    case ControlKind::Frame: {
        control.element = createElement("fieldset");
        val legend = createElement("legend");
        legend.set("textContent", Text(design.text));
        control.element.call<void>("append", legend);
        break;
    }
    case ControlKind::OptionButton: {
        control.element = createElement("input");
        control.element.set("type", std::string("radio"));
        control.element.set("name", std::string(design.container));
        control.box = createElement("label");
        control.box["classList"].call<void>("add", std::string("option"));
        control.box.call<void>("append", control.element, Text(design.text));
        listen(control.element, position);
        break;
    }
    case ControlKind::PictureBox: {
        control.element = createElement("canvas");
        control.element.set("role", std::string("img"));
        const PixelRect r = pixelRect(design.bounds, cssDpi);
        control.picture = std::make_unique<PictureCanvas>(control.element, r.width, r.height);
        break;
    }
    case ControlKind::Timer:
        control.timer =
            timers.add(design.intervalMs, [this, name = design.name] { events.timer(name); });
        timers.start(control.timer);
        return control;
    }
    if (control.box.isNull()) {
        control.box = control.element;
    }
    control.element.set("id", elementId(id));
    placeAndFill(control.box, design.bounds, design.background);
    for (const auto& [flag, name] :
         {std::pair{design.bold, "bold"}, {design.italic, "italic"}, {design.centred, "centred"}}) {
        if (flag) {
            control.box["classList"].call<void>("add", std::string(name));
        }
    }
    if (!design.accessibleName.empty()) {
        control.element.call<void>("setAttribute", std::string("aria-label"),
                                   Text(design.accessibleName));
    }
    // Hidden controls are out of the layout, the focus order and the accessibility tree.
    control.box.set("hidden", !design.visible);
    return control;
}

void WebToolkit::Page::changed(std::size_t position) {
    const ControlDesign& design = controlDesigns()[position];
    const ControlId id{design.name, design.index};
    Control& control = controls[position];
    if (design.kind == ControlKind::ListBox) {
        const auto row = static_cast<std::int16_t>(control.element["selectedIndex"].as<int>());
        if (row < 0) {
            // Ctrl+click took the selection away: a list box keeps its row.
            control.element.set("selectedIndex", control.row);
            return;
        }
        if (row == control.row) {
            return;
        }
        control.row = row;
    } else if (!control.element["checked"].as<bool>()) {
        return;
    }
    events.userClick(id);
}

void WebToolkit::Page::fail(const RuntimeError& error) {
    for (std::size_t position = 0; position < controls.size(); ++position) {
        Control& control = controls[position];
        switch (controlDesigns()[position].kind) {
        case ControlKind::Timer:
            timers.stop(control.timer);
            break;
        case ControlKind::TextBox:
        case ControlKind::ListBox:
        case ControlKind::Frame: // and the option buttons in it
            control.element.set("disabled", true);
            break;
        default:
            break;
        }
    }
    window.set("hidden", false);

    val dialog = createElement("dialog");
    dialog["classList"].call<void>("add", std::string("error"));
    dialog.call<void>("setAttribute", std::string("aria-labelledby"), std::string("error-title"));
    dialog.call<void>("setAttribute", std::string("aria-describedby"), std::string("error-text"));
    val title = createElement("h1");
    title.set("id", std::string("error-title"));
    title.set("textContent", std::string("Lumora"));
    val text = createElement("p");
    text.set("id", std::string("error-text"));
    text.set("textContent", error.report());
    val ending = createElement("p");
    ending.set("textContent", std::string(RuntimeError::endsTheProgram));
    val form = createElement("form");
    form.set("method", std::string("dialog"));
    val ok = createElement("button");
    ok.set("textContent", std::string("OK"));
    form.call<void>("append", ok);
    dialog.call<void>("append", title, text, ending, form);
    document()["body"].call<void>("append", dialog);
    dialog.call<void>("showModal");
}

WebToolkit::WebToolkit() : WebToolkit(&pageClock) {}

WebToolkit::WebToolkit(TimerGroup::Clock clock) : page_(std::make_unique<Page>(std::move(clock))) {
    const WindowDesign& design = windowDesign();
    val window = createElement("main");
    window.set("id", std::string("Lumora"));
    window["classList"].call<void>("add", std::string("window"));
    window.call<void>("setAttribute", std::string("aria-label"), Text(design.caption));
    setStyle(window, "--width", px(pixels(design.innerWidth, cssDpi)));
    setStyle(window, "--height", px(pixels(design.innerHeight, cssDpi)));
    setStyle(window, "background-color", cssColour(design.background));
    setStyle(window, "font-size", std::to_string(design.fontPoints) + "pt");
    // The page's own serif first: the same metrics, and on every visitor's machine.
    setStyle(window, "font-family",
             "var(--serif), \"" + std::string(design.fontFamily) + "\", serif");
    window.set("hidden", true);
    document().set("title", Text(design.caption));
    page_->window = window;

    const auto designs = controlDesigns();
    page_->controls.reserve(designs.size());
    for (std::size_t position = 0; position < designs.size(); ++position) {
        page_->controls.push_back(page_->create(designs[position], position));
    }
    // In tab-place order, so that Tab and a screen reader go through the window as designed.
    for (const std::size_t position : tabOrder()) {
        const ControlDesign& control = designs[position];
        val parent = control.container.empty()
                         ? window
                         : page_->find({control.container}, ControlKind::Frame).element;
        parent.call<void>("append", page_->controls[position].box);
    }
    // The first control in the focus order takes the focus once the window shows, when the page
    // next renders: focus() here would lay the whole page out at once, in the middle of start-up.
    const std::vector<std::size_t> order = focusOrder();
    if (!order.empty()) {
        page_->controls[order.front()].element.set("autofocus", true);
    }
    document()["body"].call<void>("prepend", window);
}

WebToolkit::~WebToolkit() {
    page_->window.call<void>("remove");
}

void WebToolkit::load(EventHandlers& handlers) {
    page_->events.load(handlers);
}

int WebToolkit::showAndDeliverEvents() {
    if (page_->events.failed()) {
        return runtimeErrorStatus;
    }
    page_->window.set("hidden", false);
    return 0;
}

void WebToolkit::setAutoRedraw(ControlId picture, bool on) {
    page_->find(picture, ControlKind::PictureBox).picture->setAutoRedraw(on);
}

void WebToolkit::setVisible(ControlId picture, bool visible) {
    page_->find(picture, ControlKind::PictureBox).picture->setVisible(visible);
}

void WebToolkit::setDrawWidth(ControlId picture, std::int16_t pixels) {
    PictureCanvas& canvas = *page_->find(picture, ControlKind::PictureBox).picture;
    if (pixels < 1) {
        throw RuntimeError::invalidPropertyValue();
    }
    canvas.setDotDiameter(pixels);
}

float WebToolkit::width(ControlId picture) const {
    return static_cast<float>(controlDesign(picture, ControlKind::PictureBox).bounds.width);
}

float WebToolkit::height(ControlId picture) const {
    return static_cast<float>(controlDesign(picture, ControlKind::PictureBox).bounds.height);
}

Colour WebToolkit::backColor(ControlId picture) const {
    const ControlDesign& design = controlDesign(picture, ControlKind::PictureBox);
    return design.background.value_or(windowDesign().background);
}

void WebToolkit::pset(ControlId picture, float x, float y, Colour colour) {
    constexpr double twipsPerCssPixel = 1440.0 / cssDpi;
    page_->find(picture, ControlKind::PictureBox)
        .picture->drawDot(x / twipsPerCssPixel, y / twipsPerCssPixel, colour);
}

std::int16_t WebToolkit::listIndex(ControlId list) const {
    return static_cast<std::int16_t>(
        page_->find(list, ControlKind::ListBox).element["selectedIndex"].as<int>());
}

void WebToolkit::setListIndex(ControlId list, std::int16_t row) {
    Page::Control& control = page_->find(list, ControlKind::ListBox);
    const auto rows = controlDesign(list, ControlKind::ListBox).rows;
    if (row < -1 || row >= static_cast<int>(rows.size())) {
        throw RuntimeError::invalidPropertyValue();
    }
    if (control.element["selectedIndex"].as<int>() == row) {
        return;
    }
    control.element.set("selectedIndex", row);
    control.row = row;
    page_->events.programClick(list);
}

Text WebToolkit::listRow(ControlId list, std::int16_t row) const {
    return designRow(list, row);
}

void WebToolkit::selectOption(ControlId option) {
    page_->find(option, ControlKind::OptionButton).element.set("checked", true);
    page_->events.programClick(option);
}

void WebToolkit::setText(ControlId textBox, TextView text) {
    Page::Control& control = page_->find(textBox, ControlKind::TextBox);
    control.element.set("value", controlDesign(textBox, ControlKind::TextBox).multiLine
                                     ? withLineFeeds(text)
                                     : Text(text));
}

void WebToolkit::setEnabled(ControlId timer, bool enabled) {
    const std::size_t number = page_->find(timer, ControlKind::Timer).timer;
    if (enabled) {
        page_->timers.start(number);
    } else {
        page_->timers.stop(number);
    }
}

void WebToolkit::wakeTimers() {
    page_->timers.wake();
}

bool WebToolkit::enabled(ControlId timer) const {
    return page_->timers.running(page_->find(timer, ControlKind::Timer).timer);
}

} // namespace lumora
