// Writes the scenario table, with the states the model expects, as JSON on standard output.

#include "scenario_json.h"

#include <cstdio>

int main() {
    std::fputs(lumora::scenarios::tableJson().c_str(), stdout);
}
