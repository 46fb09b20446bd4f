#pragma once

// Lumora whose lamp chase fails with an overflow at its third tick, as a handler's run-time
// error would: for the tests that the error is reported and ends the program.

#include "control_names.h"
#include "lumora.h"
#include "runtime_error.h"

namespace lumora {

class FailingAtThirdLampTick final : public EventHandlers {
public:
    explicit FailingAtThirdLampTick(Toolkit& ui) : form_(ui) {}

    void load() override { form_.load(); }
    void click(std::string_view array, std::int16_t index) override { form_.click(array, index); }
    void timer(std::string_view name) override {
        form_.timer(name);
        if (name == Timer2.name && ++lampTicks_ == 3) {
            throw RuntimeError::overflow();
        }
    }

private:
    Lumora form_;
    int lampTicks_ = 0;
};

} // namespace lumora
