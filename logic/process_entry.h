#pragma once

#include "toolkit.h"

namespace lumora {

// The program from creation to the end: `ui` has built the window from its design; this raises
// Load, shows the window and delivers events until it is closed. Returns the exit status.
int runLumora(Toolkit& ui);

} // namespace lumora
