// What the page takes from the window's design when the site is built:
//   page_text caption      the window's caption, the page's title
//   page_text characters   every character the window can show, for its web fonts' subsets
//   page_text background   the window's colour, #rrggbb: the installed app's and its icon's
//   page_text window       the window's HTML as the window's Load leaves it, for index.html
//   page_text window-style its places and colours, for the page's stylesheet
// Built for the page's platform and run by Node, so that the texts come from the one design and
// the window from the program's own logic.

#include "lumora.h"
#include "memory_toolkit.h"
#include "runtime_error.h"
#include "window_design.h"
#include "window_markup.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
          RuntimeError::invalidPropertyValue(),
          RuntimeError::absentElement(lumora::List1.name, 0)}) {
        shown += error.report();
    }
    shown += RuntimeError::endsTheProgram;
    return shown;
}

// The window's Load run on the toolkit with no screen, and what each control then shows.
std::vector<lumora::web::ShownControl> loadedWindow() {
    using namespace lumora;
    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);
    const auto designs = controlDesigns();
    std::vector<web::ShownControl> shown(designs.size());
    for (std::size_t position = 0; position < designs.size(); ++position) {
        const ControlDesign& design = designs[position];
        const ControlId id{design.name, design.index};
        web::ShownControl& control = shown[position];
        control.visible = design.visible;
        switch (design.kind) {
        case ControlKind::ListBox:
            control.row = ui.listIndex(id);
            break;
        case ControlKind::OptionButton:
            control.checked = ui.isSelected(id);
            break;
        case ControlKind::TextBox:
            control.text = ui.text(id);
            break;
        case ControlKind::PictureBox:
            control.visible = ui.isVisible(id);
            break;
        default:
            break;
        }
    }
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
    if (argc == 2 && std::strcmp(argv[1], "window") == 0) {
        std::puts(lumora::web::windowMarkup(loadedWindow()).c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "window-style") == 0) {
        std::fputs(lumora::web::windowStyle().c_str(), stdout);
        return 0;
    }
    std::fputs("usage: page_text caption|characters|background|window|window-style\n", stderr);
    return 2;
}
