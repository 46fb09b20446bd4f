#include "process_entry.h"

#include "lumora.h"

namespace lumora {

int runLumora(Toolkit& ui) {
    Lumora form(ui);
    ui.load(form);
    return ui.showAndDeliverEvents();
}

} // namespace lumora
