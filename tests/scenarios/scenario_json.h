#pragma once

// The scenario table as JSON, for a driver that is no C++ program: the page's, in Node.

#include "random_input.h"

#include <string>

namespace lumora::scenarios {

// The lamps' names in the order states list them, where they draw their dot (twips), and every
// scenario with its steps, each with the state the model expects after it: {"lamps", "dot",
// "scenarios": [{"name", "reportName", "skipped", "loaded": state, "steps": [{..., "expected"}]}]}.
std::string tableJson();
// Random steps: [{"step": step, "point": [x, y] or null, "rightButton", "doubleClick"}].
std::string randomStepsJson(unsigned seed, std::size_t count);

} // namespace lumora::scenarios
