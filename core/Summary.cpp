// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Summary.h"

#include "Scores.h"

#include <cmath>
#include <limits>

namespace sipster {

namespace {

std::string groupedDigits(std::uint64_t whole, const std::string &separator)
{
    const std::string digits = std::to_string(whole);
    if (separator.empty()) {
        return digits;
    }
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return grouped;
}

Currency average(std::int16_t total, std::int16_t count)
{
    if (count == 0) {
        return {};
    }
    return Currency::fromDouble(static_cast<double>(total) / static_cast<double>(count));
}

} // namespace

Currency Currency::fromDouble(double value)
{
    const double scaled = roundHalfEven(value * 10000.0);
    // The limits themselves are not representable exactly; stay strictly inside them.
    constexpr double limit = 9.2e18;
    if (!(scaled > -limit && scaled < limit)) {
        return {};
    }
    return {static_cast<std::int64_t>(scaled)};
}

std::string formatTwoDecimals(Currency value, const NumberStyle &style)
{
    const bool negative = value.tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.tenThousandths)
                                             : static_cast<std::uint64_t>(value.tenThousandths);
    const std::uint64_t hundredths = (magnitude + 50) / 100;
    const std::uint64_t fraction = hundredths % 100;

    std::string text = negative && hundredths != 0 ? style.minusSign : std::string();
    text += groupedDigits(hundredths / 100, style.groupSeparator);
    text += style.decimalPoint;
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

TallySummary ComputeSummary(const RunTallies &tallies, const NumberStyle &style)
{
    TallySummary summary;
    summary.punchAverage = average(tallies.intPunchTotal, tallies.intTesterCount);
    summary.appleAverage = average(tallies.intAppleTotal, tallies.intTesterCount);
    summary.countText = std::to_string(tallies.intTesterCount);
    summary.punchAverageText = formatTwoDecimals(summary.punchAverage, style);
    summary.appleAverageText = formatTwoDecimals(summary.appleAverage, style);
    if (summary.punchAverage > summary.appleAverage) {
        summary.winnerText = kPunchWins;
    } else if (summary.appleAverage > summary.punchAverage) {
        summary.winnerText = kAppleWins;
    } else {
        summary.winnerText = kTie;
    }
    return summary;
}

} // namespace sipster
