#include "memory_toolkit.h"

#include "runtime_error.h"

#include <sstream>

namespace lumora::memory {
namespace {

std::string boolText(bool value) {
    return value ? "True" : "False";
}

} // namespace

class MemoryToolkit::Picture final : public PictureSurface {
public:
    Picture(MemoryToolkit& owner, std::size_t position) : owner_(owner), position_(position) {}

    Scale scale() const override { return {1, 1}; }

    void setShown(bool shown) override {
        state().visible = shown;
        owner_.record(position_, "Visible", boolText(shown));
    }

    void clear() override { state().dots.clear(); }

    void drawDot(double x, double y, int diameter, Colour colour) override {
        state().dots.push_back({static_cast<float>(x), static_cast<float>(y), colour, diameter});
        std::ostringstream value;
        value << '(' << x << ", " << y << ") " << hexColour(colour);
        owner_.record(position_, "PSet", value.str());
    }

private:
    ControlState& state() { return owner_.states_[position_]; }

    MemoryToolkit& owner_;
    std::size_t position_;
};

// The test is the clock, and ticks each timer itself: the timer group's own clock stands still.
MemoryToolkit::MemoryToolkit() : DesignedToolkit([] { return TimerGroup::Duration{}; }) {
    for (const ControlDesign& design : controlDesigns()) {
        ControlState control;
        control.visible = design.visible;
        control.text = Text(design.text);
        states_.push_back(std::move(control));
    }
    for (std::size_t position = 0; position < states_.size(); ++position) {
        if (controlDesigns()[position].kind == ControlKind::PictureBox) {
            pictures_.push_back(std::make_unique<Picture>(*this, position));
            attachPicture(position, *pictures_.back());
        }
    }
}

MemoryToolkit::~MemoryToolkit() = default;

int MemoryToolkit::deliverEvents() {
    shown_ = true;
    return 0;
}

const MemoryToolkit::ControlState& MemoryToolkit::state(ControlId id, ControlKind kind) const {
    return states_[designPosition(id, kind)];
}

void MemoryToolkit::record(std::size_t position, std::string property, std::string value) {
    const ControlDesign& design = controlDesigns()[position];
    writes_.push_back(
        {controlName({design.name, design.index}), std::move(property), std::move(value)});
}

void MemoryToolkit::showRow(std::size_t position, int row) {
    record(position, "ListIndex", std::to_string(row));
}

void MemoryToolkit::showChecked(std::size_t position, bool checked) {
    states_[position].selected = checked;
    if (checked) {
        record(position, "Value", boolText(true));
    }
}

void MemoryToolkit::showText(std::size_t position, TextView text) {
    states_[position].text = Text(text);
    record(position, "Text", toUtf8(text));
}

void MemoryToolkit::fail(const RuntimeError& error) {
    throw error;
}

bool MemoryToolkit::tick(ControlId timer) {
    if (!enabled(timer)) {
        return false;
    }
    timerTicked(designPosition(timer, ControlKind::Timer));
    return true;
}

bool MemoryToolkit::chooseRow(ControlId list, std::int16_t row) {
    const std::size_t position = designPosition(list, ControlKind::ListBox);
    if (row < 0 || static_cast<std::size_t>(row) >= controlDesigns()[position].rows.size()) {
        throw RuntimeError::invalidPropertyValue(); // a user can only choose a row that is there
    }
    if (listIndex(list) == row) {
        return false;
    }
    userChoseRow(position, row);
    return true;
}

bool MemoryToolkit::clickOption(ControlId option) {
    if (isSelected(option)) {
        return false;
    }
    userChoseOption(designPosition(option, ControlKind::OptionButton));
    return true;
}

Text MemoryToolkit::text(ControlId textBox) const {
    return state(textBox, ControlKind::TextBox).text;
}

bool MemoryToolkit::isVisible(ControlId picture) const {
    return state(picture, ControlKind::PictureBox).visible;
}

const std::vector<Dot>& MemoryToolkit::dots(ControlId picture) const {
    return state(picture, ControlKind::PictureBox).dots;
}

bool MemoryToolkit::isSelected(ControlId option) const {
    return state(option, ControlKind::OptionButton).selected;
}

} // namespace lumora::memory
