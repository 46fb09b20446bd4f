// What the page takes from the window's design when the site is built:
//   page_text caption      the window's caption, the page's title
//   page_text characters   every character the window can show, for its web fonts' subsets
//   page_text background   the window's colour, #rrggbb: the installed app's and its icon's
// Built for the page's platform and run by Node, so that the texts come from the one design.

#include "runtime_error.h"
#include "window_design.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// UTF-8; a character may come more than once.
std::string shownText() {
    using lumora::RuntimeError;
    std::string shown = lumora::toUtf8(lumora::windowDesign().caption);
    for (const lumora::ControlDesign& control : lumora::controlDesigns()) {
        shown += lumora::toUtf8(control.text);
        for (const lumora::TextView row : control.rows) {
            shown += lumora::toUtf8(row);
        }
    }
    // The error dialog: every report the program can make.
    for (const RuntimeError& error :
         {RuntimeError::invalidArgument(), RuntimeError::overflow(), RuntimeError::divisionByZero(),
          RuntimeError::invalidPropertyValue(), RuntimeError::absentElement("List1", 0)}) {
        shown += error.report();
    }
    shown += RuntimeError::endsTheProgram;
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "caption") == 0) {
        std::puts(lumora::toUtf8(lumora::windowDesign().caption).c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "characters") == 0) {
        std::puts(shownText().c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "background") == 0) {
        std::printf("#%06x\n", static_cast<unsigned>(lumora::windowDesign().background));
        return 0;
    }
    std::fputs("usage: page_text caption|characters|background\n", stderr);
    return 2;
}
