// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "core/Scores.h"
#include "tests/CaseName.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace sipster {
namespace {

struct ScanCase
{
    const char *name;
    std::string text;
    double value;
};

void PrintTo(const ScanCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScanNumber : public testing::TestWithParam<ScanCase>
{
};

TEST_P(ScanNumber, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(scanNumber(GetParam().text), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Blanks, ScanNumber,
                         testing::Values(ScanCase {"Surrounding", "  7  ", 7},
                                         ScanCase {"Inside", "1 0", 10},
                                         ScanCase {"TabsAndLineFeeds", "\t1\n0\t", 10},
                                         ScanCase {"AfterSign", "- 4", -4},
                                         ScanCase {"InsideExponent", "1 e 1", 10},
                                         ScanCase {"InsideHexPrefix", "& H A", 10},
                                         ScanCase {"CarriageReturnStops", "1\r0", 1},
                                         ScanCase {"OnlyBlanks", " \t\n", 0}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    SignsAndDigits, ScanNumber,
    testing::Values(ScanCase {"Plain", "8", 8}, ScanCase {"Plus", "+9", 9},
                    ScanCase {"Minus", "-3", -3}, ScanCase {"DoubleSign", "--3", 0},
                    ScanCase {"LeadingZeros", "0007", 7}, ScanCase {"Fraction", "10.5", 10.5},
                    ScanCase {"OnlyFraction", ".5", 0.5}, ScanCase {"TrailingPoint", "5.", 5},
                    ScanCase {"SecondPointStops", "1.2.3", 1.2}, ScanCase {"CommaStops", "1,5", 1},
                    ScanCase {"LettersStop", "3abc", 3}, ScanCase {"SmallFraction", "0.05", 0.05}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(Exponent, ScanNumber,
                         testing::Values(ScanCase {"UpperE", "1E1", 10},
                                         ScanCase {"LowerE", "1e1", 10},
                                         ScanCase {"UpperD", "1D1", 10},
                                         ScanCase {"LowerD", "1d1", 10},
                                         ScanCase {"NegativeExponent", "100e-1", 10},
                                         ScanCase {"PlusExponent", "1e+1", 10},
                                         ScanCase {"FractionWithExponent", "0.25E2", 25},
                                         ScanCase {"MarkerWithoutDigits", "3e", 3},
                                         ScanCase {"MarkerAndSignWithoutDigits", "3e-", 3},
                                         ScanCase {"NoMantissa", "e5", 0},
                                         ScanCase {"OtherLetterIsNoExponent", "3x1", 3}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Radix, ScanNumber,
    testing::Values(ScanCase {"Hex", "&HA", 10}, ScanCase {"HexLowerCase", "&hff", 255},
                    ScanCase {"HexStopsAtPoint", "&H1.5", 1},
                    ScanCase {"HexWithoutDigits", "&H", 0}, ScanCase {"Hex16Bits", "&HFFFF", 65535},
                    ScanCase {"Octal", "&O12", 10}, ScanCase {"OctalLowerCase", "&o7", 7},
                    ScanCase {"OctalStopsAtEight", "&O18", 1}, ScanCase {"AmpersandAlone", "&", 0},
                    ScanCase {"AmpersandOther", "&X1", 0},
                    ScanCase {"SignBeforeAmpersand", "-&H5", 0}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(NoNumber, ScanNumber,
                         testing::Values(ScanCase {"Empty", "", 0}, ScanCase {"Letters", "abc", 0},
                                         ScanCase {"DollarFirst", "$5", 0},
                                         ScanCase {"SignOnly", "-", 0},
                                         ScanCase {"PointOnly", ".", 0},
                                         ScanCase {"HighBytes",
                                                   "\xC3\xA9"
                                                   "5",
                                                   0},
                                         ScanCase {"InvalidUtf8", "\xFF\xFE", 0},
                                         ScanCase {"NulStops",
                                                   std::string("4\0"
                                                               "2",
                                                               3),
                                                   4}),
                         CaseName());

TEST(ScanNumberLimits, HugeValuesReadAsInfinity)
{
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(scanNumber("1e400"), infinity);
    EXPECT_EQ(scanNumber("-1e400"), -infinity);
    EXPECT_EQ(scanNumber("1e" + std::string(1000, '9')), infinity);
    EXPECT_EQ(scanNumber("&H" + std::string(1000, 'F')), infinity);
    EXPECT_EQ(scanNumber(std::string(1 << 20, '9')), infinity);
}

TEST(ScanNumberLimits, TinyValuesReadAsZero)
{
    EXPECT_EQ(scanNumber("1e-400"), 0.0);
    EXPECT_EQ(scanNumber("5e-" + std::string(1000, '9')), 0.0);
    EXPECT_EQ(scanNumber("0." + std::string(1 << 20, '0') + "1"), 0.0);
}

TEST(ScanNumberLimits, SubnormalValuesAreKept)
{
    // Below the smallest normal double the C library reports a range error while still giving
    // the value; only below half the smallest subnormal is it zero.
    EXPECT_EQ(scanNumber("5e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(scanNumber("1e-310"), 1e-310);
    EXPECT_EQ(scanNumber("-1e-310"), -1e-310);
    EXPECT_EQ(scanNumber("2e-324"), 0.0);
}

TEST(ScanNumberLimits, LongTextsKeepFullPrecision)
{
    // Digits past any double's precision still decide which side of a half the value lies.
    EXPECT_EQ(scanNumber("10." + std::string(1000, '0') + "1"), 10.0);
    EXPECT_EQ(scanNumber(std::string(500, '0') + "7"), 7.0);
    EXPECT_EQ(scanNumber("1" + std::string(2000, '0') + "e-2000"), 1.0);
    EXPECT_EQ(scanNumber("0.1"), 0.1);
}

struct RoundCase
{
    const char *name;
    double value;
    double rounded;
};

void PrintTo(const RoundCase &c, std::ostream *os)
{
    *os << c.name;
}

class RoundHalfEven : public testing::TestWithParam<RoundCase>
{
};

TEST_P(RoundHalfEven, GoesToNearestAndHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(
    Halves, RoundHalfEven,
    testing::Values(RoundCase {"ZeroPointFive", 0.5, 0}, RoundCase {"OnePointFive", 1.5, 2},
                    RoundCase {"TwoPointFive", 2.5, 2}, RoundCase {"TenPointFive", 10.5, 10},
                    RoundCase {"MinusTwoPointFive", -2.5, -2},
                    RoundCase {"MinusThreePointFive", -3.5, -4},
                    RoundCase {"JustAboveHalf", 10.51, 11}, RoundCase {"JustBelowHalf", 0.49, 0},
                    RoundCase {"Whole", 7, 7}),
    CaseName());

struct ScoreCase
{
    const char *name;
    std::string text;
    std::optional<std::int16_t> score;
};

void PrintTo(const ScoreCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReadScore : public testing::TestWithParam<ScoreCase>
{
};

TEST_P(ReadScore, GivesTheWholeNumberOrNothing)
{
    EXPECT_EQ(readScore(GetParam().text), GetParam().score) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Range, ReadScore,
                         testing::Values(ScoreCase {"Rounded", "10.5", 10},
                                         ScoreCase {"RoundedUp", "0.6", 1},
                                         ScoreCase {"Largest", "32767", 32767},
                                         ScoreCase {"Smallest", "-32768", -32768},
                                         ScoreCase {"RoundsIntoRange", "32767.4", 32767},
                                         ScoreCase {"RoundsOutOfRange", "32767.5", std::nullopt},
                                         ScoreCase {"TooLarge", "40000", std::nullopt},
                                         ScoreCase {"TooSmall", "-99999", std::nullopt},
                                         ScoreCase {"Exponent", "1e10", std::nullopt},
                                         ScoreCase {"Infinite", "1e400", std::nullopt},
                                         ScoreCase {"HexTooLarge", "&H7FFFFFFF", std::nullopt},
                                         ScoreCase {"HexSixteenBits", "&HFFFF", std::nullopt},
                                         ScoreCase {"NoNumber", "abc", 0}),
                         CaseName());

} // namespace
} // namespace sipster
