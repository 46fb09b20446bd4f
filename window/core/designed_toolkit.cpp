#include "designed_toolkit.h"

#include "runtime_error.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace lumora {
namespace {

ControlId idOf(std::size_t position) {
    const ControlDesign& design = controlDesigns()[position];
    return {design.name, design.index};
}

} // namespace

DesignedToolkit::DesignedToolkit(TimerGroup::Clock clock)
    : timers_(std::move(clock), [this](auto delay) { wakeAfter(delay); }),
      timerNumbers_(controlDesigns().size()), rows_(controlDesigns().size(), -1),
      chosen_(controlDesigns().size(), false), pictures_(controlDesigns().size()) {
    const auto designs = controlDesigns();
    for (std::size_t position = 0; position < designs.size(); ++position) {
        if (designs[position].kind == ControlKind::Timer) {
            timerNumbers_[position] = timers_.add(
                std::chrono::milliseconds(designs[position].intervalMs),
                [this, position] { timerTicked(position); }, true);
        }
    }
}

void DesignedToolkit::attachPicture(std::size_t position, PictureSurface& surface) {
    assert(controlDesigns()[position].kind == ControlKind::PictureBox);
    pictures_[position].surface = &surface;
}

std::size_t DesignedToolkit::windowedPosition(ControlId id) {
    const std::size_t position = designPosition(id);
    if (controlDesigns()[position].kind == ControlKind::Timer) {
        throw RuntimeError::absentElement(id.name, id.index);
    }
    return position;
}

DesignedToolkit::Drawing& DesignedToolkit::picture(ControlId id) {
    Drawing& picture = pictures_[designPosition(id, ControlKind::PictureBox)];
    assert(picture.surface != nullptr);
    return picture;
}

bool DesignedToolkit::autoRedraw(ControlId picture) const {
    return pictures_[designPosition(picture, ControlKind::PictureBox)].autoRedraw;
}

std::int16_t DesignedToolkit::drawWidth(ControlId picture) const {
    return pictures_[designPosition(picture, ControlKind::PictureBox)].drawWidth;
}

void DesignedToolkit::draw(PictureSurface& surface, const HeldDot& dot) {
    const PictureSurface::Scale scale = surface.scale();
    const auto diameter = static_cast<int>(std::lround(dot.drawWidth * scale.perPixel));
    surface.drawDot(dot.x * scale.perTwip, dot.y * scale.perTwip, std::max(diameter, 1),
                    dot.colour);
}

void DesignedToolkit::pictureRescaled(std::size_t position) {
    Drawing& picture = pictures_[position];
    picture.surface->clear();
    for (const HeldDot& dot : picture.dots) {
        draw(*picture.surface, dot);
    }
}

void DesignedToolkit::load(EventHandlers& handlers) {
    wakeAfter(timers_.delay());
    events_.load(handlers);
}

void DesignedToolkit::setAutoRedraw(ControlId picture, bool on) {
    this->picture(picture).autoRedraw = on;
}

void DesignedToolkit::setVisible(ControlId picture, bool visible) {
    Drawing& box = this->picture(picture);
    box.surface->setShown(visible);
    // A box that does not keep its drawing loses it when hidden.
    if (!visible && !box.autoRedraw && !box.dots.empty()) {
        box.dots.clear();
        box.surface->clear();
    }
}

void DesignedToolkit::setDrawWidth(ControlId picture, std::int16_t pixels) {
    Drawing& box = this->picture(picture);
    if (pixels < 1) {
        throw RuntimeError::invalidPropertyValue();
    }
    box.drawWidth = pixels;
}

float DesignedToolkit::width(ControlId picture) const {
    return static_cast<float>(controlDesign(picture, ControlKind::PictureBox).bounds.width);
}

float DesignedToolkit::height(ControlId picture) const {
    return static_cast<float>(controlDesign(picture, ControlKind::PictureBox).bounds.height);
}

Colour DesignedToolkit::backColor(ControlId picture) const {
    return controlDesign(picture, ControlKind::PictureBox)
        .background.value_or(windowDesign().background);
}

void DesignedToolkit::pset(ControlId picture, float x, float y, Colour colour) {
    Drawing& box = this->picture(picture);
    const HeldDot dot{x, y, box.drawWidth, colour};
    // The lamps draw the same dot at every lighting: drawn again, it would change no pixel.
    if (!box.dots.empty() && box.dots.back() == dot) {
        return;
    }
    box.dots.push_back(dot);
    draw(*box.surface, dot);
}

std::int16_t DesignedToolkit::listIndex(ControlId list) const {
    return static_cast<std::int16_t>(rows_[designPosition(list, ControlKind::ListBox)]);
}

void DesignedToolkit::setListIndex(ControlId list, std::int16_t row) {
    const std::size_t position = designPosition(list, ControlKind::ListBox);
    if (row < -1 || row >= static_cast<int>(controlDesigns()[position].rows.size())) {
        throw RuntimeError::invalidPropertyValue();
    }
    if (rows_[position] == row) {
        return;
    }
    rows_[position] = row;
    showRow(position, row);
    events_.programClick(list);
}

Text DesignedToolkit::listRow(ControlId list, std::int16_t row) const {
    return designRow(list, row);
}

void DesignedToolkit::selectOption(ControlId option) {
    choose(designPosition(option, ControlKind::OptionButton));
    events_.programClick(option);
}

void DesignedToolkit::setText(ControlId textBox, TextView text) {
    showText(designPosition(textBox, ControlKind::TextBox), text);
}

void DesignedToolkit::setEnabled(ControlId timer, bool enabled) {
    timers_.setRunning(timerNumbers_[designPosition(timer, ControlKind::Timer)], enabled);
}

bool DesignedToolkit::enabled(ControlId timer) const {
    return timers_.running(timerNumbers_[designPosition(timer, ControlKind::Timer)]);
}

void DesignedToolkit::userChoseRow(std::size_t position, int row) {
    if (row == rows_[position]) {
        return;
    }
    rows_[position] = row;
    events_.userClick(idOf(position));
}

void DesignedToolkit::userChoseOption(std::size_t position) {
    if (chosen_[position]) {
        return;
    }
    choose(position);
    events_.userClick(idOf(position));
}

void DesignedToolkit::timerTicked(std::size_t position) {
    events_.timer(controlDesigns()[position].name);
}

// Chooses an option button and no other of its frame.
void DesignedToolkit::choose(std::size_t option) {
    const auto designs = controlDesigns();
    for (std::size_t position = 0; position < designs.size(); ++position) {
        if (designs[position].kind == ControlKind::OptionButton &&
            designs[position].container == designs[option].container) {
            chosen_[position] = position == option;
            showChecked(position, position == option);
        }
    }
}

} // namespace lumora
