#include "lumora.h"
#include "web_toolkit.h"

// In a page, the entry returns as soon as the window shows, and the browser delivers the events
// from then on: the window and its logic live as long as the page does.
int main() {
    static lumora::web::WebToolkit ui;
    static lumora::Lumora form(ui);
    ui.load(form);
    return ui.showAndDeliverEvents();
}
