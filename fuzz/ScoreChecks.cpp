// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "ScoreChecks.h"

#include "core/RunTallies.h"
#include "core/Scores.h"
#include "core/Summary.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace sipster {

namespace {

void require(bool holds, const char *rule)
{
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

std::optional<std::int16_t> checkedScore(std::string_view text)
{
    const double value = scanNumber(text);
    require(!std::isnan(value), "a text never reads as NaN");
    const double rounded = roundHalfEven(value);
    require(std::isinf(value) || std::fabs(rounded - value) <= 0.5,
            "rounding moves at most a half");
    const auto score = readScore(text);
    require(score.has_value() == (rounded >= -32768 && rounded <= 32767),
            "a score exists exactly when the number fits 16 bits");
    require(!score || *score == rounded, "the score is the rounded number");
    return score;
}

bool isScore(std::optional<std::int16_t> score)
{
    return score && *score >= kLowestScore && *score <= kHighestScore;
}

void checkSummary(const RunTallies &tallies, const NumberStyle &style)
{
    const TallySummary summary = ComputeSummary(tallies, style);
    require(summary.countText == std::to_string(tallies.intTesterCount), "count text is plain");
    for (const auto &[average, text] :
         {std::pair {summary.punchAverage, summary.punchAverageText},
          std::pair {summary.appleAverage, summary.appleAverageText}}) {
        require(average.tenThousandths >= 10000 && average.tenThousandths <= 100000,
                "averages lie from 1 to 10");
        const std::size_t point = text.size() - 2 - style.decimalPoint.size();
        require(text.size() > 2 + style.decimalPoint.size()
                    && text.compare(point, style.decimalPoint.size(), style.decimalPoint) == 0,
                "two decimals after the decimal point");
        const std::string whole = text.substr(0, point);
        require(whole == std::to_string((average.tenThousandths + 50) / 10000), "whole part");
    }
    const std::string_view expected = summary.punchAverage > summary.appleAverage ? kPunchWins
        : summary.appleAverage > summary.punchAverage                             ? kAppleWins
                                                                                  : kTie;
    require(summary.winnerText == expected, "the winner follows the four-decimal averages");
}

} // namespace

void checkScoreInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2) {
        return;
    }
    const std::uint8_t flags = data[0];
    const std::size_t punchLength = std::min<std::size_t>(data[1], size - 2);
    const std::string_view punchText(reinterpret_cast<const char *>(data + 2), punchLength);
    const std::string_view appleText(reinterpret_cast<const char *>(data + 2 + punchLength),
                                     size - 2 - punchLength);

    const auto punch = checkedScore(punchText);
    const auto apple = checkedScore(appleText);

    // A fresh run, or one a few testers from full; either way each total lies between one and
    // ten times the tester count, as accepted scores leave it.
    const RunTallies nearlyFull {static_cast<std::int16_t>(32757 + flags % 4),
                                 static_cast<std::int16_t>(32500 + flags),
                                 static_cast<std::int16_t>(3276)};
    const RunTallies before = (flags & 1) ? nearlyFull : RunTallies {};
    RunTallies tallies = before;
    const Verdict verdict = ScoreEntry(tallies, punchText, appleText);
    if (!isScore(punch)) {
        require(verdict == Verdict::PunchInvalid, "a bad Prune Punch score is named first");
    } else if (!isScore(apple)) {
        require(verdict == Verdict::AppleInvalid, "a bad Apple Ade score is named");
    } else {
        const bool fits = before.intPunchTotal + *punch <= 32767
            && before.intAppleTotal + *apple <= 32767 && before.intTesterCount < 32767;
        require(verdict == (fits ? Verdict::Accepted : Verdict::TallyFull),
                "valid scores are accepted exactly when they fit");
    }
    const int added = verdict == Verdict::Accepted ? 1 : 0;
    require(tallies.intTesterCount == before.intTesterCount + added, "one tester at most");
    require(tallies.intPunchTotal == before.intPunchTotal + added * punch.value_or(0),
            "the punch total changes only by an accepted score");
    require(tallies.intAppleTotal == before.intAppleTotal + added * apple.value_or(0),
            "the apple total changes only by an accepted score");
    require(tallies.intPunchTotal >= tallies.intTesterCount
                && tallies.intAppleTotal >= tallies.intTesterCount,
            "each total is at least the tester count");

    if (tallies.intTesterCount > 0) {
        const NumberStyle styles[] = {{}, {",", ".", "-"}, {"\xd9\xab", "\xd9\xac", "-"}};
        checkSummary(tallies, styles[(flags >> 1) % 3]);
    }
}

} // namespace sipster
