// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "core/Summary.h"

#include "tests/CaseName.h"

#include <gtest/gtest.h>
#include <string>

namespace sipster {
namespace {

struct SummaryCase
{
    const char *name;
    RunTallies tallies;
    std::string count;
    std::string punch;
    std::string apple;
    std::string_view winner;
};

void PrintTo(const SummaryCase &c, std::ostream *os)
{
    *os << c.name;
}

class ComputeSummaryTexts : public testing::TestWithParam<SummaryCase>
{
};

TEST_P(ComputeSummaryTexts, GivesCountAveragesAndWinner)
{
    const SummaryCase &c = GetParam();
    const TallySummary summary = ComputeSummary(c.tallies);
    EXPECT_EQ(summary.countText, c.count);
    EXPECT_EQ(summary.punchAverageText, c.punch);
    EXPECT_EQ(summary.appleAverageText, c.apple);
    EXPECT_EQ(summary.winnerText, c.winner);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ComputeSummaryTexts,
    testing::Values(
        SummaryCase {"ThreeTesters", {23, 25, 3}, "3", "7.67", "8.33", kAppleWins},
        SummaryCase {"FourTesters", {33, 26, 4}, "4", "8.25", "6.50", kPunchWins},
        SummaryCase {"OneTester", {10, 1, 1}, "1", "10.00", "1.00", kPunchWins},
        SummaryCase {"EqualTotals", {20, 20, 2}, "2", "10.00", "10.00", kTie},
        SummaryCase {"EqualToFourDecimals", {30000, 30001, 30000}, "30000", "1.00", "1.00", kTie},
        SummaryCase {
            "DifferentAtFourDecimals", {20000, 20001, 20000}, "20000", "1.00", "1.00", kAppleWins},
        SummaryCase {"HalfHundredthGoesUp", {61, 8, 8}, "8", "7.63", "1.00", kPunchWins},
        SummaryCase {"LargestTallies", {32767, 32767, 32767}, "32767", "1.00", "1.00", kTie}),
    CaseName());

TEST(ComputeSummaryAverages, KeepFourDecimalsRoundedHalfToEven)
{
    EXPECT_EQ(ComputeSummary({23, 25, 3}).punchAverage.tenThousandths, 76667);
    EXPECT_EQ(ComputeSummary({23, 25, 3}).appleAverage.tenThousandths, 83333);
    EXPECT_EQ(ComputeSummary({61, 8, 8}).punchAverage.tenThousandths, 76250);
    // 1/32768 steps below a ten-thousandth: 30001/30000 is 1.0000333..., kept as 1.0000.
    EXPECT_EQ(ComputeSummary({30000, 30001, 30000}).appleAverage.tenThousandths, 10000);
    // 33/32 and 35/32 are exact halves of a ten-thousandth: 10312.5 and 10937.5.
    EXPECT_EQ(ComputeSummary({33, 35, 32}).punchAverage.tenThousandths, 10312);
    EXPECT_EQ(ComputeSummary({33, 35, 32}).appleAverage.tenThousandths, 10938);
}

TEST(ComputeSummaryAverages, NoTestersGiveZeroNotACrash)
{
    const TallySummary summary = ComputeSummary({});
    EXPECT_EQ(summary.countText, "0");
    EXPECT_EQ(summary.punchAverageText, "0.00");
    EXPECT_EQ(summary.winnerText, kTie);
}

struct FormatCase
{
    const char *name;
    std::int64_t tenThousandths;
    NumberStyle style;
    std::string text;
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.name;
}

class FormatTwoDecimals : public testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatTwoDecimals, FollowsTheNumberStyle)
{
    EXPECT_EQ(formatTwoDecimals({GetParam().tenThousandths}, GetParam().style), GetParam().text);
}

const NumberStyle kFullStop;
const NumberStyle kComma {",", ".", "-"};
const NumberStyle kGroupedFullStop {".", ",", "-"};

INSTANTIATE_TEST_SUITE_P(
    Styles, FormatTwoDecimals,
    testing::Values(FormatCase {"FullStop", 76667, kFullStop, "7.67"},
                    FormatCase {"Comma", 76667, kComma, "7,67"},
                    FormatCase {"TrailingZeros", 75000, kFullStop, "7.50"},
                    FormatCase {"LeadingZero", 500, kFullStop, "0.05"},
                    FormatCase {"HalfAwayFromZero", 76250, kFullStop, "7.63"},
                    FormatCase {"NegativeHalfAwayFromZero", -76250, kFullStop, "-7.63"},
                    FormatCase {"NegativeRoundsToZero", -49, kFullStop, "0.00"},
                    FormatCase {"JustBelowHalf", 76249, kFullStop, "7.62"},
                    FormatCase {"Grouped", 327670000, kGroupedFullStop, "32,767.00"},
                    FormatCase {"GroupedComma", 12345678900000, kComma, "1.234.567.890,00"},
                    FormatCase {"Ungrouped", 327670000, kFullStop, "32767.00"},
                    FormatCase {"Smallest", INT64_MIN, kFullStop, "-922337203685477.58"}),
    CaseName());

TEST(ComputeSummaryStyle, CommaStyleReachesTheAverageTexts)
{
    const TallySummary summary = ComputeSummary({23, 25, 3}, kComma);
    EXPECT_EQ(summary.punchAverageText, "7,67");
    EXPECT_EQ(summary.appleAverageText, "8,33");
    EXPECT_EQ(summary.countText, "3");
}

} // namespace
} // namespace sipster
