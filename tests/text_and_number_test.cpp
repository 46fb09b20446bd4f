// The text and whole-number functions the window's logic is written in, at their edges.

#include "control_names.h"
#include "integer_arithmetic.h"
#include "runtime_error.h"
#include "test_support.h"
#include "text_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumora {
namespace {

struct SubstringCase {
    const char* name;
    TextView text;
    std::int32_t start;
    std::int32_t count;
    TextView expected;
};

class Substring : public testing::TestWithParam<SubstringCase> {};

TEST_P(Substring, TakesCharactersFromOneBasedStart) {
    const SubstringCase& c = GetParam();
    EXPECT_EQ(substring(c.text, c.start, c.count), Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Edges, Substring,
                         testing::Values(SubstringCase{"FromFirst", U"Лумора", 1, 3, U"Лум"},
                                         SubstringCase{"FromMiddle", U"Лумора", 3, 2, U"мо"},
                                         SubstringCase{"CutShortAtEnd", U"Лумора", 5, 10, U"ра"},
                                         SubstringCase{"LastCharacter", U"Лумора", 6, 1, U"а"},
                                         SubstringCase{"JustPastEnd", U"Лумора", 7, 1, U""},
                                         SubstringCase{"FarPastEnd", U"Лумора", 1000, 5, U""},
                                         SubstringCase{"ZeroCount", U"Лумора", 2, 0, U""},
                                         SubstringCase{"EmptyText", U"", 1, 5, U""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Substring, StartBelowOneOrNegativeCountIsInvalidArgument) {
    for (const auto& [start, count] : {std::pair{0, 1}, {-5, 1}, {1, -1}}) {
        try {
            substring(U"abc", start, count);
            ADD_FAILURE() << "no error for start " << start << ", count " << count;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), RuntimeError::InvalidArgument);
        }
    }
}

TEST(Prefix, TakesFirstCharactersOrAll) {
    EXPECT_EQ(prefix(U"Брой", 2), Text(U"Бр"));
    EXPECT_EQ(prefix(U"Брой", 4), Text(U"Брой"));
    EXPECT_EQ(prefix(U"Брой", 40), Text(U"Брой"));
    EXPECT_EQ(prefix(U"Брой", 0), Text());
    EXPECT_EQ(prefix(U"", 3), Text());
    EXPECT_THROW(prefix(U"Брой", -1), RuntimeError);
}

TEST(LengthAndJoin, CountCharactersNotBytes) {
    EXPECT_EQ(length(U"Големите изненади се крият в малките опаковки."), 46);
    EXPECT_EQ(length(U""), 0);
    EXPECT_EQ(join(U"", U""), Text());
    EXPECT_EQ(join(join(U"Спри", U" "), U"Спри"), Text(U"Спри Спри"));
}

struct NumericCase {
    const char* name;
    TextView text;
    double expected;
};

class NumericValue : public testing::TestWithParam<NumericCase> {};

TEST_P(NumericValue, ReadsLeadingUnsignedInteger) {
    EXPECT_EQ(numericValue(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, NumericValue,
                         testing::Values(NumericCase{"Empty", U"", 0},
                                         NumericCase{"Ten", U"10", 10},
                                         NumericCase{"Thirty", U"30", 30},
                                         NumericCase{"LeadingZeros", U"007", 7},
                                         NumericCase{"TrailingText", U"25 знака", 25},
                                         NumericCase{"NoDigits", U"Брой", 0},
                                         NumericCase{"BeyondInt32", U"12345678901", 12345678901.0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RoundingCase {
    const char* name;
    double value;
    std::int16_t expected;
};

class ToInteger : public testing::TestWithParam<RoundingCase> {};

TEST_P(ToInteger, RoundsHalfToEven) {
    EXPECT_EQ(toInteger(GetParam().value), GetParam().expected);
    EXPECT_EQ(toLong(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ToInteger,
    testing::Values(RoundingCase{"HalfDownToEven", 2.5, 2}, RoundingCase{"HalfUpToEven", 3.5, 4},
                    RoundingCase{"NegativeHalfToEven", -2.5, -2},
                    RoundingCase{"NegativeHalfUpToEven", -3.5, -4},
                    RoundingCase{"QuarterOfLampHeight", 63.75, 64},
                    RoundingCase{"BelowHalf", 1.4999, 1}, RoundingCase{"AboveHalf", 0.5001, 1},
                    RoundingCase{"ZeroPointFive", 0.5, 0}, RoundingCase{"Top", 32767, 32767},
                    RoundingCase{"TopPlusLessThanHalf", 32767.4, 32767},
                    RoundingCase{"Bottom", -32768, -32768},
                    RoundingCase{"BottomMinusHalfToEven", -32768.5, -32768}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToInteger, OutOfRangeIsOverflow) {
    for (const double value : {32767.5, 32768.0, -32769.0, -32768.51, 1e300,
                               std::numeric_limits<double>::infinity(), std::nan("")}) {
        expectRuntimeError(RuntimeError::Overflow, [=] { toInteger(value); });
    }
    expectRuntimeError(RuntimeError::Overflow, [] { toLong(2147483647.5); });
    expectRuntimeError(RuntimeError::Overflow, [] { toLong(-2147483649.0); });
    EXPECT_EQ(toLong(2147483646.5), 2147483646);
    EXPECT_EQ(toLong(-2147483648.0), std::numeric_limits<std::int32_t>::min());
}

TEST(Arithmetic16, StaysInRangeOrOverflows) {
    EXPECT_EQ(add16(32766, 1), 32767);
    EXPECT_EQ(subtract16(-32767, 1), -32768);
    expectRuntimeError(RuntimeError::Overflow, [] { add16(32767, 1); });
    expectRuntimeError(RuntimeError::Overflow, [] { subtract16(-32768, 1); });
    expectRuntimeError(RuntimeError::Overflow, [] { subtract16(0, -32768); });
}

TEST(Arithmetic16, RemainderTakesDividendSign) {
    EXPECT_EQ(remainder16(46, 46), 0);
    EXPECT_EQ(remainder16(47, 46), 1);
    EXPECT_EQ(remainder16(-7, 3), -1);
    EXPECT_EQ(remainder16(7, -3), 1);
    EXPECT_EQ(remainder16(-32768, -1), 0);
    expectRuntimeError(RuntimeError::DivisionByZero, [] { remainder16(1, 0); });
}

TEST(RuntimeErrors, NameTheAbsentElement) {
    const RuntimeError error = RuntimeError::absentElement(Picture1.name, 8);
    EXPECT_EQ(error.number(), RuntimeError::AbsentElement);
    EXPECT_NE(std::string(error.what()).find(controlName(Picture1(8))), std::string::npos);
    EXPECT_NE(std::string(RuntimeError::absentElement("Timer3", -1).what()).find("Timer3 "),
              std::string::npos);
}

TEST(Utf8, EncodesEveryLength) {
    EXPECT_EQ(toUtf8(U"a"), "a");
    EXPECT_EQ(toUtf8(U"Б"), "\xD0\x91");
    EXPECT_EQ(toUtf8(U"€"), "\xE2\x82\xAC");
    EXPECT_EQ(toUtf8(U"\U0001F354"), "\xF0\x9F\x8D\x94");
}

} // namespace
} // namespace lumora
