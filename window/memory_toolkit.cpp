#include "memory_toolkit.h"

#include "runtime_error.h"

#include <iomanip>
#include <sstream>

namespace lumora {
namespace {

std::string boolText(bool value) {
    return value ? "True" : "False";
}

std::string colourText(Colour colour) {
    std::ostringstream out;
    out << '#' << std::uppercase << std::hex << std::setw(6) << std::setfill('0') << colour;
    return out.str();
}

} // namespace

MemoryToolkit::MemoryToolkit() {
    for (const ControlDesign& design : controlDesigns()) {
        ControlState control;
        control.visible = design.visible;
        control.text = Text(design.text);
        control.enabled = design.kind == ControlKind::Timer;
        states_.push_back(std::move(control));
    }
}

void MemoryToolkit::load(EventHandlers& handlers) {
    handlers_ = &handlers;
    handlers_->load();
}

int MemoryToolkit::showAndDeliverEvents() {
    shown_ = true;
    return 0;
}

MemoryToolkit::ControlState& MemoryToolkit::state(ControlId id, ControlKind kind) {
    return states_[designPosition(id, kind)];
}

const MemoryToolkit::ControlState& MemoryToolkit::state(ControlId id, ControlKind kind) const {
    return states_[designPosition(id, kind)];
}

void MemoryToolkit::record(ControlId id, std::string property, std::string value) {
    writes_.push_back({controlName(id), std::move(property), std::move(value)});
}

void MemoryToolkit::raiseClick(ControlId id) {
    if (handlers_ != nullptr) {
        handlers_->click(id.name, id.index);
    }
}

void MemoryToolkit::setAutoRedraw(ControlId picture, bool on) {
    state(picture, ControlKind::PictureBox).autoRedraw = on;
    record(picture, "AutoRedraw", boolText(on));
}

void MemoryToolkit::setVisible(ControlId picture, bool visible) {
    ControlState& box = state(picture, ControlKind::PictureBox);
    box.visible = visible;
    if (!visible && !box.autoRedraw) {
        box.dots.clear(); // without a persistent image, hiding loses the drawing
    }
    record(picture, "Visible", boolText(visible));
}

void MemoryToolkit::setDrawWidth(ControlId picture, std::int16_t pixels) {
    if (pixels < 1) {
        throw RuntimeError::invalidPropertyValue();
    }
    state(picture, ControlKind::PictureBox).drawWidth = pixels;
    record(picture, "DrawWidth", std::to_string(pixels));
}

float MemoryToolkit::width(ControlId picture) const {
    return static_cast<float>(controlDesign(picture, ControlKind::PictureBox).bounds.width);
}

float MemoryToolkit::height(ControlId picture) const {
    return static_cast<float>(controlDesign(picture, ControlKind::PictureBox).bounds.height);
}

Colour MemoryToolkit::backColor(ControlId picture) const {
    return controlDesigns()[designPosition(picture, ControlKind::PictureBox)].background.value_or(
        windowDesign().background);
}

void MemoryToolkit::pset(ControlId picture, float x, float y, Colour colour) {
    ControlState& box = state(picture, ControlKind::PictureBox);
    box.dots.push_back({x, y, colour, box.drawWidth});
    std::ostringstream value;
    value << '(' << x << ", " << y << ") " << colourText(colour);
    record(picture, "PSet", value.str());
}

std::int16_t MemoryToolkit::listIndex(ControlId list) const {
    return state(list, ControlKind::ListBox).listIndex;
}

void MemoryToolkit::setListIndex(ControlId list, std::int16_t row) {
    const std::size_t position = designPosition(list, ControlKind::ListBox);
    if (row < -1 || row >= static_cast<std::int16_t>(controlDesigns()[position].rows.size())) {
        throw RuntimeError::invalidPropertyValue();
    }
    record(list, "ListIndex", std::to_string(row));
    ControlState& box = states_[position];
    if (box.listIndex == row) {
        return;
    }
    box.listIndex = row;
    raiseClick(list);
}

Text MemoryToolkit::listRow(ControlId list, std::int16_t row) const {
    return designRow(list, row);
}

void MemoryToolkit::select(ControlId option) {
    const std::string_view frame =
        controlDesigns()[designPosition(option, ControlKind::OptionButton)].container;
    const auto designs = controlDesigns();
    for (std::size_t i = 0; i < designs.size(); ++i) {
        if (designs[i].kind == ControlKind::OptionButton && designs[i].container == frame) {
            states_[i].selected = false;
        }
    }
    state(option, ControlKind::OptionButton).selected = true;
}

void MemoryToolkit::selectOption(ControlId option) {
    select(option);
    record(option, "Value", boolText(true));
    raiseClick(option);
}

void MemoryToolkit::setText(ControlId textBox, TextView text) {
    state(textBox, ControlKind::TextBox).text = Text(text);
    record(textBox, "Text", toUtf8(text));
}

void MemoryToolkit::setEnabled(ControlId timer, bool enabled) {
    state(timer, ControlKind::Timer).enabled = enabled;
    record(timer, "Enabled", boolText(enabled));
}

bool MemoryToolkit::tick(std::string_view timerName) {
    if (!isEnabled({timerName})) {
        return false;
    }
    if (handlers_ != nullptr) {
        handlers_->timer(timerName);
    }
    return true;
}

bool MemoryToolkit::chooseRow(ControlId list, std::int16_t row) {
    const std::size_t position = designPosition(list, ControlKind::ListBox);
    if (row < 0 || static_cast<std::size_t>(row) >= controlDesigns()[position].rows.size()) {
        throw RuntimeError::invalidPropertyValue(); // a user can only choose a row that is there
    }
    ControlState& box = states_[position];
    if (box.listIndex == row) {
        return false;
    }
    box.listIndex = row;
    raiseClick(list);
    return true;
}

bool MemoryToolkit::clickOption(ControlId option) {
    if (isSelected(option)) {
        return false;
    }
    select(option);
    raiseClick(option);
    return true;
}

Text MemoryToolkit::text(ControlId textBox) const {
    return state(textBox, ControlKind::TextBox).text;
}

bool MemoryToolkit::isVisible(ControlId picture) const {
    return state(picture, ControlKind::PictureBox).visible;
}

bool MemoryToolkit::autoRedraw(ControlId picture) const {
    return state(picture, ControlKind::PictureBox).autoRedraw;
}

std::int16_t MemoryToolkit::drawWidth(ControlId picture) const {
    return state(picture, ControlKind::PictureBox).drawWidth;
}

const std::vector<Dot>& MemoryToolkit::dots(ControlId picture) const {
    return state(picture, ControlKind::PictureBox).dots;
}

bool MemoryToolkit::isSelected(ControlId option) const {
    return state(option, ControlKind::OptionButton).selected;
}

bool MemoryToolkit::isEnabled(ControlId timer) const {
    return state(timer, ControlKind::Timer).enabled;
}

} // namespace lumora
