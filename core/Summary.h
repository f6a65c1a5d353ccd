// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "RunTallies.h"

#include <compare>
#include <cstdint>
#include <string>

namespace sipster {

// Fixed-point money-style value: a count of ten-thousandths.
struct Currency
{
    std::int64_t tenThousandths = 0;

    // Rounds to the nearest ten-thousandth, a half going to the even neighbour.
    static Currency fromDouble(double value);

    auto operator<=>(const Currency &) const = default;
};

// How the user's region writes numbers. An empty group separator means no grouping.
struct NumberStyle
{
    std::string decimalPoint = ".";
    std::string groupSeparator;
    std::string minusSign = "-";
};

// The value with exactly two decimals; a value halfway between two hundredths goes away from zero.
std::string formatTwoDecimals(Currency value, const NumberStyle &style);

struct TallySummary
{
    std::string countText;
    Currency punchAverage;
    Currency appleAverage;
    std::string punchAverageText;
    std::string appleAverageText;
    std::string winnerText;
};

inline constexpr std::string_view kPunchWins = "Prune Punch";
inline constexpr std::string_view kAppleWins = "Apple Ade";
inline constexpr std::string_view kTie = "It's a tie";

// Number of testers, both averages and the winner. Expects at least one tester; with none, both
// averages are zero rather than a division by zero.
TallySummary ComputeSummary(const RunTallies &tallies, const NumberStyle &style = {});

} // namespace sipster
