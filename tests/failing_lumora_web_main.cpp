// The Lumora page, failing at its third lamp tick.

#include "failing_handlers.h"
#include "web_toolkit.h"

int main() {
    static lumora::web::WebToolkit ui;
    static lumora::FailingAtThirdLampTick handlers(ui);
    ui.load(handlers);
    return ui.showAndDeliverEvents();
}
