#include "lumora.h"

#include "control_names.h"
#include "integer_arithmetic.h"

namespace lumora {
namespace {

constexpr std::int16_t lampPairs = 8;

constexpr ControlId upperLamp(std::int16_t k) {
    return Picture1(k);
}
constexpr ControlId lowerLamp(std::int16_t k) {
    return Picture2(k);
}
constexpr ControlId colourHolder(std::int16_t k) {
    return Picture3(k);
}
constexpr ControlId visibleLengthList{List1(0)};
constexpr ControlId messageList{List1(1)};
constexpr ControlId ticker{Text2(0)};
constexpr ControlId startOption{Option1(0)};
constexpr ControlId tickerTimer{Timer1};
constexpr ControlId lampTimer{Timer2};

} // namespace

void Lumora::timer(std::string_view timerName) {
    if (timerName == tickerTimer.name) {
        Timer1_Timer();
    } else if (timerName == lampTimer.name) {
        Timer2_Timer();
    }
}

void Lumora::click(std::string_view arrayName, std::int16_t index) {
    if (arrayName == List1.name) {
        List1_Click(index);
    } else if (arrayName == Option1.name) {
        Option1_Click(index);
    }
}

void Lumora::Form_Load() {
    PrepareLamps();
    ApplyDefaults();
}

void Lumora::PrepareLamps() {
    auto& f = fields_;
    f.LampStep = 0;
    for (std::int16_t i = 1; i <= lampPairs; i = add16(i, 1)) {
        const std::int16_t k = subtract16(i, 1);
        ui_.setAutoRedraw(upperLamp(k), true);
        ui_.setAutoRedraw(lowerLamp(k), true);
        ui_.setVisible(upperLamp(k), false);
        ui_.setVisible(lowerLamp(k), false);
        ui_.setDrawWidth(upperLamp(k), 10);
        ui_.setDrawWidth(lowerLamp(k), 10);
    }
    f.DotX = ui_.width(upperLamp(0)) / 4;
    f.DotY = toInteger(ui_.height(upperLamp(0)) / 4);
}

void Lumora::ApplyDefaults() {
    auto& f = fields_;
    ui_.selectOption(startOption);
    ui_.setListIndex(visibleLengthList, 2);
    f.VisibleLen = numericValue(ui_.listRow(visibleLengthList, 2));
    ui_.setListIndex(messageList, 0);
    f.Message = ui_.listRow(messageList, ui_.listIndex(messageList));
    ui_.setText(ticker, prefix(f.Message, toLong(f.VisibleLen)));
    ResetTicker();
}

void Lumora::ResetTicker() {
    auto& f = fields_;
    f.VisibleLen = numericValue(ui_.listRow(visibleLengthList, ui_.listIndex(visibleLengthList)));
    f.TickerPos = 0;
    f.MessageLen = toInteger(length(f.Message));
    f.TickerText = join(join(f.Message, U" "), f.Message);
}

void Lumora::Timer1_Timer() {
    auto& f = fields_;
    f.TickerPos = add16(f.TickerPos, 1);
    f.TickerPos = remainder16(f.TickerPos, f.MessageLen);
    if (f.TickerPos == 0) {
        f.TickerPos = 1;
    }
    ui_.setText(ticker, substring(f.TickerText, toLong(f.TickerPos), toLong(f.VisibleLen)));
}

void Lumora::List1_Click(std::int16_t Index) {
    auto& f = fields_;
    if (Index == 0) {
        ResetTicker();
    } else if (Index == 1) {
        f.Message = ui_.listRow(messageList, ui_.listIndex(messageList));
        f.MessageLen = toInteger(length(f.Message));
        f.TickerText = join(join(f.Message, U" "), f.Message);
    }
}

void Lumora::Timer2_Timer() {
    auto& f = fields_;
    ui_.setVisible(upperLamp(f.LampStep), false);
    ui_.setVisible(lowerLamp(f.LampStep), false);
    f.LampStep = remainder16(add16(f.LampStep, 1), lampPairs);
    ui_.setVisible(upperLamp(f.LampStep), true);
    ui_.pset(upperLamp(f.LampStep), f.DotX, f.DotY, ui_.backColor(colourHolder(f.LampStep)));
    ui_.setVisible(lowerLamp(f.LampStep), true);
    ui_.pset(lowerLamp(f.LampStep), f.DotX, f.DotY,
             ui_.backColor(colourHolder(subtract16(lampPairs - 1, f.LampStep))));
}

void Lumora::Option1_Click(std::int16_t Index) {
    if (Index == 0) {
        ResetTicker();
        ui_.setEnabled(tickerTimer, true);
        ui_.setEnabled(lampTimer, true);
    }
    if (Index == 1) {
        ui_.setEnabled(tickerTimer, false);
        ui_.setEnabled(lampTimer, false);
    }
}

} // namespace lumora
