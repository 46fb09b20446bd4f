// The window from creation to the end of loading, with no screen.

#include "lumora.h"
#include "memory_toolkit.h"
#include "process_entry.h"
#include "runtime_error.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using memory::PropertyWrite;

constexpr TextView firstMessage = U"Големите изненади се крият в малките опаковки.";

ControlId upper(std::int16_t k) {
    return Picture1(k);
}
ControlId lower(std::int16_t k) {
    return Picture2(k);
}

TEST(Created, NothingIsChosenAndEveryPictureIsHidden) {
    memory::MemoryToolkit ui;
    EXPECT_EQ(ui.listIndex(List1(0)), -1);
    EXPECT_EQ(ui.listIndex(List1(1)), -1);
    EXPECT_FALSE(ui.isSelected(Option1(0)));
    EXPECT_FALSE(ui.isSelected(Option1(1)));
    EXPECT_EQ(ui.text(Text2(0)), Text());
    for (const ControlArray array : {Picture1, Picture2, Picture3}) {
        for (std::int16_t k = 0; k < 8; ++k) {
            EXPECT_FALSE(ui.isVisible(array(k))) << array.name << k;
        }
    }
    EXPECT_TRUE(ui.enabled(Timer1));
    EXPECT_TRUE(ui.enabled(Timer2));
}

TEST(Loaded, IsTheDefaultState) {
    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);

    const LumoraFields& f = form.fields();
    EXPECT_EQ(f.LampStep, 0);
    EXPECT_EQ(f.DotX, 63.75f); // a single, fraction kept
    EXPECT_EQ(f.DotY, 64);
    EXPECT_EQ(f.TickerPos, 0);
    EXPECT_EQ(f.VisibleLen, 20.0);
    EXPECT_EQ(f.MessageLen, 46);
    EXPECT_EQ(f.Message, Text(firstMessage));
    EXPECT_EQ(f.TickerText, join(join(firstMessage, U" "), firstMessage));

    EXPECT_TRUE(ui.isSelected(Option1(0)));
    EXPECT_FALSE(ui.isSelected(Option1(1)));
    EXPECT_EQ(ui.listIndex(List1(0)), 2);
    EXPECT_EQ(ui.listIndex(List1(1)), 0);
    EXPECT_EQ(ui.text(Text2(0)), Text(U"Големите изненади се"));
    for (std::int16_t k = 0; k < 8; ++k) {
        for (const ControlId lamp : {upper(k), lower(k)}) {
            EXPECT_FALSE(ui.isVisible(lamp));
            EXPECT_TRUE(ui.autoRedraw(lamp));
            EXPECT_EQ(ui.drawWidth(lamp), 10);
            EXPECT_TRUE(ui.dots(lamp).empty());
        }
    }
    EXPECT_TRUE(ui.enabled(Timer1));
    EXPECT_TRUE(ui.enabled(Timer2));
}

TEST(Loaded, WritesLampsThenChoicesInOrder) {
    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);

    std::vector<PropertyWrite> expected;
    for (int k = 0; k < 8; ++k) {
        expected.push_back({controlName(upper(k)), "Visible", "False"});
        expected.push_back({controlName(lower(k)), "Visible", "False"});
    }
    expected.insert(expected.end(), {
                                        {controlName(Option1(0)), "Value", "True"},
                                        {controlName(List1(0)), "ListIndex", "2"},
                                        {controlName(List1(1)), "ListIndex", "0"},
                                        {controlName(Text2(0)), "Text", "Големите изненади се"},
                                    });
    EXPECT_EQ(ui.writes(), expected);
}

TEST(ProcessEntry, LoadsShowsAndEndsWithStatusZero) {
    memory::MemoryToolkit ui;
    EXPECT_EQ(runLumora(ui), 0);
    EXPECT_TRUE(ui.isShown());
    EXPECT_EQ(ui.text(Text2(0)), Text(U"Големите изненади се"));
}

// Drives ResetTicker through the Click it runs from.
TEST(ResetTicker, ReadsLengthRewindsAndLeavesTickerBoxAlone) {
    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);
    ui.tick(Timer1);
    ui.tick(Timer1);
    const Text shown = ui.text(Text2(0));
    ASSERT_EQ(form.fields().TickerPos, 2);

    ui.chooseRow(List1(0), 4); // "30"
    EXPECT_EQ(form.fields().VisibleLen, 30.0);
    EXPECT_EQ(form.fields().TickerPos, 0);
    EXPECT_EQ(ui.text(Text2(0)), shown);
}

TEST(ResetTicker, WithNothingChosenLeavesEmptyTicker) {
    // The first Click of loading runs before either list has a row: the state it leaves is what
    // ResetTicker makes of an empty message and no visible length.
    struct FirstClickProbe final : EventHandlers {
        explicit FirstClickProbe(memory::MemoryToolkit& ui) : form(ui) {}
        void load() override { form.Form_Load(); }
        void timer(std::string_view) override {}
        void click(std::string_view array, std::int16_t index) override {
            form.click(array, index);
            if (!seen) {
                seen = true;
                first = form.fields();
            }
        }
        Lumora form;
        bool seen = false;
        LumoraFields first;
    };
    memory::MemoryToolkit ui;
    FirstClickProbe probe(ui);
    ui.load(probe);
    ASSERT_TRUE(probe.seen);
    EXPECT_EQ(probe.first.VisibleLen, 0.0);
    EXPECT_EQ(probe.first.MessageLen, 0);
    EXPECT_EQ(probe.first.TickerText, Text(U" "));
    EXPECT_EQ(probe.first.TickerPos, 0);
}

// The state loading leaves does not depend on the Clicks it raises.
TEST(Loaded, SameWithoutClickHandlers) {
    struct LoadOnly final : EventHandlers {
        explicit LoadOnly(memory::MemoryToolkit& ui) : form(ui) {}
        void load() override { form.Form_Load(); }
        void timer(std::string_view) override {}
        void click(std::string_view, std::int16_t) override {}
        Lumora form;
    };
    memory::MemoryToolkit bare;
    LoadOnly unwired(bare);
    bare.load(unwired);
    memory::MemoryToolkit ui;
    Lumora wired(ui);
    ui.load(wired);

    const LumoraFields& a = unwired.form.fields();
    const LumoraFields& b = wired.fields();
    EXPECT_EQ(a.VisibleLen, b.VisibleLen);
    EXPECT_EQ(a.MessageLen, b.MessageLen);
    EXPECT_EQ(a.Message, b.Message);
    EXPECT_EQ(a.TickerText, b.TickerText);
    EXPECT_EQ(a.TickerPos, b.TickerPos);
    EXPECT_EQ(bare.text(Text2(0)), ui.text(Text2(0)));
}

// The writes' errors are the scenario table's ("the contract's own errors change nothing"); these
// are the reads' and the other writes'.
TEST(ToolkitErrors, RaisedWhereTheContractSays) {
    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);
    expectRuntimeError(RuntimeError::AbsentElement, [&] { ui.backColor(Picture3(-1)); });
    expectRuntimeError(RuntimeError::AbsentElement, [&] { ui.setText(Text2(1), U""); });
    expectRuntimeError(RuntimeError::AbsentElement, [&] { ui.setEnabled({"Timer3"}, true); });
    expectRuntimeError(RuntimeError::AbsentElement, [&] { ui.listIndex(Picture1(0)); });
    EXPECT_EQ(ui.listRow(List1(0), -1), Text());
    EXPECT_EQ(ui.listRow(List1(0), 5), Text());
    EXPECT_EQ(ui.listRow(List1(0), 4), Text(U"30"));
}

} // namespace
} // namespace lumora
