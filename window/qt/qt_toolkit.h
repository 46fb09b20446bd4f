#pragma once

// The toolkit on screen: builds the window `Lumora` and every control of the design table as
// Qt widgets, converting twips to device-independent pixels (15 to one), so that high-DPI
// screens scale the whole window. A QApplication must exist first (QtPlatform).
//
// Program writes raise Clicks by calling the handlers directly, inside the write; widget signals
// raise them only for the user's own choices. A run-time error leaving any handler stops the
// timers, is reported in a message box and ends the event loop with runtimeErrorStatus.

#include "runtime_error.h"
#include "toolkit.h"

#include <memory>

class QTimer;
class QWidget;

namespace lumora {

inline constexpr int twipsPerPixel = 15;

class QtToolkit final : public Toolkit {
public:
    QtToolkit();
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    void load(EventHandlers& handlers) override;
    int showAndDeliverEvents() override;

    void setAutoRedraw(ControlId picture, bool on) override;
    void setVisible(ControlId picture, bool visible) override;
    void setDrawWidth(ControlId picture, std::int16_t pixels) override;
    float width(ControlId picture) const override;
    float height(ControlId picture) const override;
    Colour backColor(ControlId picture) const override;
    void pset(ControlId picture, float x, float y, Colour colour) override;
    std::int16_t listIndex(ControlId list) const override;
    void setListIndex(ControlId list, std::int16_t row) override;
    Text listRow(ControlId list, std::int16_t row) const override;
    void selectOption(ControlId option) override;
    void setText(ControlId textBox, TextView text) override;
    void setEnabled(ControlId timer, bool enabled) override;

    // The widgets, for tests that act on them as a user would.
    QWidget* window() const;
    // Throws RuntimeError (absent element) for a timer or an absent control.
    QWidget* widget(ControlId id) const;
    QTimer* timer(ControlId id) const;

private:
    struct Widgets;
    std::unique_ptr<Widgets> widgets_;
};

} // namespace lumora
