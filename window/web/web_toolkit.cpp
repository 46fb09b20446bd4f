#include "web_toolkit.h"

#include "page_timeout.h"
#include "picture_canvas.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "window_design.h"

#include <emscripten/bind.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace lumora::web {

using emscripten::val;

namespace {

val document() {
    return val::global("document");
}

val createElement(const char* tag) {
    return document().call<val>("createElement", std::string(tag));
}

// The element of the window's HTML with this id. The HTML comes with the program, from the same
// design: without it, the page is not this build's.
val windowElement(const std::string& id) {
    val element = document().call<val>("getElementById", id);
    if (element.isNull()) {
        std::fprintf(stderr,
                     "Lumora: the page has no element \"%s\"; its index.html is not "
                     "this build's\n",
                     id.c_str());
        std::abort();
    }
    return element;
}

} // namespace

// The page calls back into the toolkit through this object: each control's change listener is
// its `changed` bound to the control's position in the design, and the screen's resolution query
// calls `resolutionChanged`.
class PageEvents {
public:
    PageEvents(std::function<void(std::size_t)> changed, std::function<void()> resolutionChanged)
        : changed_(std::move(changed)), resolutionChanged_(std::move(resolutionChanged)) {}

    // `event` is the DOM's change event; the position says all that is needed.
    void changed(int position, val /*event*/) { changed_(static_cast<std::size_t>(position)); }
    void resolutionChanged(val /*event*/) { resolutionChanged_(); }

private:
    std::function<void(std::size_t)> changed_;
    std::function<void()> resolutionChanged_;
};

EMSCRIPTEN_BINDINGS(lumora_page_events) {
    emscripten::class_<PageEvents>("LumoraPageEvents")
        .smart_ptr<std::shared_ptr<PageEvents>>("LumoraPageEventsHandle")
        .function("changed", &PageEvents::changed)
        .function("resolutionChanged", &PageEvents::resolutionChanged);
}

struct WebToolkit::Page {
    struct Control {
        val element = val::null(); // the control itself: input, select, textarea, canvas...
        std::unique_ptr<web::PictureCanvas> picture;
    };

    explicit Page(WebToolkit& owner) : owner(owner) {}

    WebToolkit& owner;
    val window = val::null();
    std::vector<Control> controls; // one per entry of controlDesigns()
    web::PageTimeout timeout{[this] { owner.wakeTimers(); }};
    std::shared_ptr<PageEvents> listener = std::make_shared<PageEvents>(
        [this](std::size_t position) { changed(position); }, [this] { resolutionChanged(); });
    val listenerHandle{listener};

    Control take(const ControlDesign& design, std::size_t position);
    void listen(const val& element, std::size_t position);
    // A user's change of a list or an option button.
    void changed(std::size_t position);
    // Calls resolutionChanged() once the screen's device pixel ratio is another than now.
    void watchResolution();
    void resolutionChanged();
    void fail(const RuntimeError& error);
};

void WebToolkit::Page::listen(const val& element, std::size_t position) {
    const val handler =
        listenerHandle["changed"].call<val>("bind", listenerHandle, static_cast<int>(position));
    element.call<void>("addEventListener", std::string("change"), handler);
}

WebToolkit::Page::Control WebToolkit::Page::take(const ControlDesign& design,
                                                 std::size_t position) {
    Control control;
    if (design.kind == ControlKind::Timer) {
        return control; // the page's one timeout serves the design's timers
    }
    control.element = windowElement(controlName({design.name, design.index}));
    switch (design.kind) {
    case ControlKind::ListBox:
    case ControlKind::OptionButton:
        listen(control.element, position);
        break;
    case ControlKind::PictureBox: {
        const PixelRect r = pixelRect(design.bounds, designDpi);
        control.picture = std::make_unique<web::PictureCanvas>(control.element, r.width, r.height);
        owner.attachPicture(position, *control.picture);
        break;
    }
    default:
        break;
    }
    return control;
}

void WebToolkit::Page::changed(std::size_t position) {
    const ControlDesign& design = controlDesigns()[position];
    val& element = controls[position].element;
    if (design.kind == ControlKind::ListBox) {
        const int row = element["selectedIndex"].as<int>();
        if (row < 0) {
            // Ctrl+click took the selection away: a list box keeps its row.
            element.set("selectedIndex", owner.listIndex({design.name, design.index}));
            return;
        }
        owner.userChoseRow(position, row);
    } else if (element["checked"].as<bool>()) {
        owner.userChoseOption(position);
    }
}

void WebToolkit::Page::watchResolution() {
    const auto ratio = val::global("devicePixelRatio").as<double>();
    const val query =
        val::global("matchMedia")(std::string("(resolution: ") + std::to_string(ratio) + "dppx)");
    val once = val::object();
    once.set("once", true);
    query.call<void>("addEventListener", std::string("change"),
                     listenerHandle["resolutionChanged"].call<val>("bind", listenerHandle), once);
}

void WebToolkit::Page::resolutionChanged() {
    const auto ratio = val::global("devicePixelRatio").as<double>();
    for (std::size_t position = 0; position < controls.size(); ++position) {
        if (controls[position].picture) {
            controls[position].picture->setPixelRatio(ratio);
            owner.pictureRescaled(position);
        }
    }
    watchResolution();
}

void WebToolkit::Page::fail(const RuntimeError& error) {
    for (std::size_t position = 0; position < controls.size(); ++position) {
        Control& control = controls[position];
        switch (controlDesigns()[position].kind) {
        case ControlKind::TextBox:
        case ControlKind::ListBox:
        case ControlKind::Frame: // and the option buttons in it
            control.element.set("disabled", true);
            break;
        default:
            break;
        }
    }
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

WebToolkit::WebToolkit() : WebToolkit(&web::pageClock) {}

WebToolkit::WebToolkit(TimerGroup::Clock clock)
    : DesignedToolkit(std::move(clock)), page_(std::make_unique<Page>(*this)) {
    page_->window = windowElement("Lumora");
    const auto designs = controlDesigns();
    page_->controls.reserve(designs.size());
    for (std::size_t position = 0; position < designs.size(); ++position) {
        page_->controls.push_back(page_->take(designs[position], position));
    }
    // From here on the program hears every choice: the page stops ignoring clicks and keys.
    page_->window.call<void>("removeAttribute", std::string("aria-busy"));
    page_->watchResolution();
}

WebToolkit::~WebToolkit() {
    page_->window.call<void>("remove");
}

int WebToolkit::deliverEvents() {
    return 0; // the page shows the window already, and the browser delivers the events
}

void WebToolkit::showRow(std::size_t position, int row) {
    val& list = page_->controls[position].element;
    list.set("selectedIndex", row);
    // The page's own script scrolls it, as it did for the window's first frame.
    val::global("keepChosenRowInView")(list);
}

void WebToolkit::showChecked(std::size_t position, bool checked) {
    page_->controls[position].element.set("checked", checked);
}

void WebToolkit::showText(std::size_t position, TextView text) {
    page_->controls[position].element.set(
        "value", controlDesigns()[position].multiLine ? withLineFeeds(text) : Text(text));
}

void WebToolkit::wakeAfter(std::optional<TimerGroup::Duration> delay) {
    page_->timeout.wait(delay);
}

void WebToolkit::fail(const RuntimeError& error) {
    page_->fail(error);
}

} // namespace lumora::web
