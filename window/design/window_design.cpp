#include "window_design.h"

#include "information_panels.h"
#include "runtime_error.h"

#include <algorithm>
#include <array>

namespace lumora {
namespace {

constexpr WindowDesign window{
    .caption = U"lumora.example ИТ - светлинна реклама и текст",
    .background = 0xC0C0FF,
    .innerWidth = 6990,
    .innerHeight = 5280,
    .fontFamily = "Times New Roman",
    .fontPoints = 12,
};

constexpr std::array<TextView, 5> visibleLengths{U"10", U"15", U"20", U"25", U"30"};

constexpr std::array<TextView, 3> messages{
    U"Големите изненади се крият в малките опаковки.",
    U"Рекламата е душата на търговията.",
    U"Който разбира, тука се спира.",
};

constexpr std::array fixedControls{
    ControlDesign{.kind = ControlKind::Label,
                  .name = Label1.name,
                  .index = 0,
                  .bounds = {960, 0, 4575, 375},
                  .background = 0xFFC080,
                  .text = U"Lumora",
                  .centred = true,
                  .tabPlace = 2},
    ControlDesign{.kind = ControlKind::TextBox,
                  .name = Text2.name,
                  .index = 0,
                  .bounds = {1200, 1080, 3975, 465},
                  .background = 0xC0C0FF,
                  .bold = true,
                  .italic = true,
                  .centred = true,
                  .readOnly = true,
                  .tabPlace = 3,
                  .accessibleName = U"Текст на рекламата"},
    ControlDesign{.kind = ControlKind::Label,
                  .name = Label1.name,
                  .index = 1,
                  .bounds = {120, 1560, 735, 375},
                  .background = 0xFFC080,
                  .text = U"Брой",
                  .centred = true,
                  .tabPlace = 33,
                  .labelFor = List1(0)},
    ControlDesign{.kind = ControlKind::ListBox,
                  .name = List1.name,
                  .index = 0,
                  .bounds = {120, 1920, 735, 345},
                  .rows = visibleLengths,
                  .tabPlace = 28},
    ControlDesign{.kind = ControlKind::Frame,
                  .name = Frame1.name,
                  .bounds = {120, 2280, 1455, 1095},
                  .background = 0x8080FF,
                  .text = U"Управление",
                  .tabPlace = 30},
    ControlDesign{.kind = ControlKind::OptionButton,
                  .name = Option1.name,
                  .index = 0,
                  .container = Frame1.name,
                  .bounds = {120, 360, 1095, 285},
                  .background = 0x80FF80,
                  .text = U"Пусни",
                  .tabPlace = 31},
    ControlDesign{.kind = ControlKind::OptionButton,
                  .name = Option1.name,
                  .index = 1,
                  .container = Frame1.name,
                  .bounds = {120, 720, 1095, 285},
                  .background = 0xFF8080,
                  .text = U"Спри",
                  .tabPlace = 32},
    ControlDesign{.kind = ControlKind::ListBox,
                  .name = List1.name,
                  .index = 1,
                  .bounds = {1680, 2400, 5175, 630},
                  .rows = messages,
                  .tabPlace = 29,
                  .accessibleName = U"Рекламно послание"},
    ControlDesign{.kind = ControlKind::TextBox,
                  .name = Text1.name,
                  .index = 0,
                  .bounds = {120, 3360, 6735, 1815},
                  .text = taskStatement,
                  .readOnly = true,
                  .multiLine = true,
                  .verticalScrollBar = true,
                  .tabPlace = 0,
                  .accessibleName = U"Условие на задачата"},
    ControlDesign{.kind = ControlKind::TextBox,
                  .name = Text1.name,
                  .index = 1,
                  .bounds = {600, 3600, 6735, 1815},
                  .text = quotation,
                  .readOnly = true,
                  .multiLine = true,
                  .verticalScrollBar = true,
                  .visible = false,
                  .tabPlace = 1,
                  .accessibleName = U"Цитат"},
    ControlDesign{.kind = ControlKind::Timer, .name = Timer1.name, .intervalMs = 200},
    ControlDesign{.kind = ControlKind::Timer, .name = Timer2.name, .intervalMs = 200},
};

// The lamp ring round the ticker: Picture1(k) on the upper arc, Picture2(k) opposite it on the
// lower arc, and the hidden colour holder Picture3(k) whose background colour the chase reads.
struct LampRingRow {
    int upperLeft, upperTop, upperTab;
    int lowerLeft, lowerTop, lowerTab;
    int holderTop, holderTab;
    Colour holderColour;
};

constexpr std::array<LampRingRow, 8> lampRing{{
    {840, 1080, 4, 5160, 1320, 18, 360, 11, 0xFFFFFF},
    {1440, 840, 5, 4680, 1560, 19, 720, 12, 0xFF0000},
    {2040, 720, 6, 4080, 1680, 20, 1080, 13, 0xFF8000},
    {2640, 600, 7, 3360, 1800, 21, 1440, 14, 0xFFFF00},
    {3360, 600, 8, 2640, 1800, 22, 1800, 15, 0x00FF00},
    {4080, 720, 9, 2040, 1680, 23, 2160, 16, 0x00FFFF},
    {4680, 840, 10, 1440, 1560, 24, 2520, 25, 0x0000FF},
    {5160, 1080, 26, 840, 1320, 27, 2880, 17, 0xFF00FF},
}};

constexpr int lampSize = 255;
constexpr int holderLeft = 6480;
constexpr int holderSize = 375;

constexpr ControlDesign picture(std::string_view name, std::size_t k, TwipRect bounds,
                                Colour background, int tab, TextView accessibleName) {
    return {.kind = ControlKind::PictureBox,
            .name = name,
            .index = static_cast<std::int16_t>(k),
            .bounds = bounds,
            .background = background,
            .visible = false,
            .tabPlace = tab,
            .accessibleName = accessibleName};
}

constexpr auto buildControls() {
    std::array<ControlDesign, fixedControls.size() + 3 * lampRing.size()> all{};
    std::size_t n = 0;
    for (const ControlDesign& control : fixedControls) {
        all[n++] = control;
    }
    for (std::size_t k = 0; k < lampRing.size(); ++k) {
        const LampRingRow& row = lampRing[k];
        all[n++] = picture(Picture1.name, k, {row.upperLeft, row.upperTop, lampSize, lampSize},
                           window.background, row.upperTab, U"Светлина над текста");
        all[n++] = picture(Picture2.name, k, {row.lowerLeft, row.lowerTop, lampSize, lampSize},
                           window.background, row.lowerTab, U"Светлина под текста");
        all[n++] = picture(Picture3.name, k, {holderLeft, row.holderTop, holderSize, holderSize},
                           row.holderColour, row.holderTab, U"Цвят на светлините");
    }
    return all;
}

constexpr auto controls = buildControls();

} // namespace

const WindowDesign& windowDesign() {
    return window;
}

std::span<const ControlDesign> controlDesigns() {
    return controls;
}

std::size_t designPosition(ControlId id) {
    const auto found = std::find_if(controls.begin(), controls.end(), [&](const ControlDesign& c) {
        return c.name == id.name && c.index == id.index;
    });
    if (found == controls.end()) {
        throw RuntimeError::absentElement(id.name, id.index);
    }
    return static_cast<std::size_t>(found - controls.begin());
}

std::size_t designPosition(ControlId id, ControlKind kind) {
    const std::size_t position = designPosition(id);
    if (controls[position].kind != kind) {
        throw RuntimeError::absentElement(id.name, id.index);
    }
    return position;
}

const ControlDesign& controlDesign(ControlId id, ControlKind kind) {
    return controls[designPosition(id, kind)];
}

Text designRow(ControlId list, std::int16_t row) {
    const auto rows = controlDesign(list, ControlKind::ListBox).rows;
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) {
        return {};
    }
    return Text(rows[static_cast<std::size_t>(row)]);
}

} // namespace lumora
