// The ticker and the lamp chase, driven through the handlers with no screen: the logic's own
// edge cases and the order of its writes.

#include "lumora.h"
#include "memory_toolkit.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using memory::Dot;
using memory::PropertyWrite;

constexpr TextView row2 = U"Който разбира, тука се спира.";

ControlId upper(std::int16_t k) {
    return Picture1(k);
}
ControlId lower(std::int16_t k) {
    return Picture2(k);
}
constexpr ControlId ticker{Text2(0)};
constexpr ControlId lengths{List1(0)};
constexpr ControlId messages{List1(1)};

Text doubled(TextView message) {
    return join(join(message, U" "), message);
}

class Billboard : public testing::Test {
protected:
    void SetUp() override { ui.load(form); }

    Text tickTicker(int times) {
        for (int i = 0; i < times; ++i) {
            EXPECT_TRUE(ui.tick(Timer1));
        }
        return ui.text(ticker);
    }

    // Lamps visible now, as "1:k" for Picture1(k) and "2:k" for Picture2(k).
    std::vector<std::string> visibleLamps() const {
        std::vector<std::string> lit;
        for (std::int16_t k = 0; k < 8; ++k) {
            if (ui.isVisible(upper(k))) {
                lit.push_back("1:" + std::to_string(k));
            }
            if (ui.isVisible(lower(k))) {
                lit.push_back("2:" + std::to_string(k));
            }
        }
        return lit;
    }

    memory::MemoryToolkit ui;
    Lumora form{ui};
};

TEST_F(Billboard, LongestSliceOfShortestMessageIsWhole) {
    ui.chooseRow(lengths, 4);  // "30"
    ui.chooseRow(messages, 2); // 29 characters
    ASSERT_EQ(form.fields().MessageLen, 29);
    const Text frame = tickTicker(28);
    EXPECT_EQ(frame.size(), 30u);
    EXPECT_EQ(frame, doubled(row2).substr(27, 30));
    EXPECT_EQ(frame.substr(0, 3), Text(U"а. "));
    EXPECT_EQ(tickTicker(1), Text(row2.substr(0, 29)) + U' ');
}

// A message of one character: every tick stays on position 1.
TEST(OneCharacterMessage, EveryTickShowsPositionOne) {
    // A toolkit whose message list answers "Ъ" for every row.
    struct OneCharacterToolkit final : Toolkit {
        memory::MemoryToolkit inner;
        void load(EventHandlers& h) override { inner.load(h); }
        int showAndDeliverEvents() override { return 0; }
        void setAutoRedraw(ControlId p, bool on) override { inner.setAutoRedraw(p, on); }
        void setVisible(ControlId p, bool v) override { inner.setVisible(p, v); }
        void setDrawWidth(ControlId p, std::int16_t w) override { inner.setDrawWidth(p, w); }
        float width(ControlId p) const override { return inner.width(p); }
        float height(ControlId p) const override { return inner.height(p); }
        Colour backColor(ControlId p) const override { return inner.backColor(p); }
        void pset(ControlId p, float x, float y, Colour c) override { inner.pset(p, x, y, c); }
        std::int16_t listIndex(ControlId l) const override { return inner.listIndex(l); }
        void setListIndex(ControlId l, std::int16_t r) override { inner.setListIndex(l, r); }
        Text listRow(ControlId l, std::int16_t r) const override {
            return l.index == 1 && r >= 0 ? Text(U"Ъ") : inner.listRow(l, r);
        }
        void selectOption(ControlId o) override { inner.selectOption(o); }
        void setText(ControlId t, TextView text) override { inner.setText(t, text); }
        void setEnabled(ControlId t, bool e) override { inner.setEnabled(t, e); }
    } ui;
    Lumora form(ui);
    ui.load(form);
    ASSERT_EQ(form.fields().MessageLen, 1);
    for (int i = 0; i < 3; ++i) {
        ui.inner.tick(Timer1);
        EXPECT_EQ(form.fields().TickerPos, 1);
        EXPECT_EQ(ui.inner.text(ticker), Text(U"Ъ Ъ"));
    }
}

TEST_F(Billboard, FirstLampTickLightsPairOne) {
    EXPECT_TRUE(visibleLamps().empty());
    ui.tick(Timer2);
    EXPECT_EQ(visibleLamps(), (std::vector<std::string>{"1:1", "2:1"}));
    EXPECT_EQ(ui.dots(upper(1)), (std::vector<Dot>{{63.75f, 64, 0xFF0000, 10}}));
    EXPECT_EQ(ui.dots(lower(1)), (std::vector<Dot>{{63.75f, 64, 0x0000FF, 10}}));
}

TEST_F(Billboard, LampTickHidesThenLightsThenDraws) {
    ui.tick(Timer2);
    ui.clearWrites();
    ui.tick(Timer2);
    EXPECT_EQ(ui.writes(), (std::vector<PropertyWrite>{
                               {controlName(Picture1(1)), "Visible", "False"},
                               {controlName(Picture2(1)), "Visible", "False"},
                               {controlName(Picture1(2)), "Visible", "True"},
                               {controlName(Picture1(2)), "PSet", "(63.75, 64) #FF8000"},
                               {controlName(Picture2(2)), "Visible", "True"},
                               {controlName(Picture2(2)), "PSet", "(63.75, 64) #00FFFF"},
                           }));
}

// The kept dot returns with its lamp, and is not drawn over again.
TEST_F(Billboard, DotsPersistWhileHiddenAndReturnWithLamp) {
    for (int tick = 0; tick < 9; ++tick) {
        ui.tick(Timer2);
    }
    EXPECT_FALSE(ui.isVisible(upper(2)));
    EXPECT_EQ(ui.dots(upper(2)).size(), 1u);
    ui.clearWrites();
    ui.tick(Timer2);
    EXPECT_TRUE(ui.isVisible(upper(2)));
    EXPECT_EQ(ui.dots(upper(2)).size(), 1u);
    EXPECT_EQ(ui.writes().size(), 4u); // the pairs hidden and shown, and no PSet
}

} // namespace
} // namespace lumora
