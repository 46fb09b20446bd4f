// Lumora on Qt, failing at its third lamp tick.

#include "failing_handlers.h"
#include "qt_platform.h"
#include "qt_toolkit.h"

int main(int argc, char** argv) {
    lumora::QtPlatform platform(argc, argv);
    lumora::qt::QtToolkit ui;
    lumora::FailingAtThirdLampTick handlers(ui);
    ui.load(handlers);
    return ui.showAndDeliverEvents();
}
