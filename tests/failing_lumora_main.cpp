// Lumora whose lamp chase fails with an overflow at its third tick, as a handler's run-time
// error would: for the test that the error is reported and ends the process.

#include "lumora.h"
#include "qt_platform.h"
#include "qt_toolkit.h"
#include "runtime_error.h"

namespace {

class FailingAtThirdLampTick final : public lumora::EventHandlers {
public:
    explicit FailingAtThirdLampTick(lumora::Toolkit& ui) : form_(ui) {}

    void load() override { form_.load(); }
    void click(std::string_view array, std::int16_t index) override { form_.click(array, index); }
    void timer(std::string_view name) override {
        form_.timer(name);
        if (name == "Timer2" && ++lampTicks_ == 3) {
            throw lumora::RuntimeError::overflow();
        }
    }

private:
    lumora::Lumora form_;
    int lampTicks_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    lumora::QtPlatform platform(argc, argv);
    lumora::QtToolkit ui;
    FailingAtThirdLampTick handlers(ui);
    ui.load(handlers);
    return ui.showAndDeliverEvents();
}
