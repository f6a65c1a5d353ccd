// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "RunTallies.h"

#include "Scores.h"

#include <limits>
#include <optional>

namespace sipster {

namespace {

bool isScore(std::optional<std::int16_t> score)
{
    return score && *score >= kLowestScore && *score <= kHighestScore;
}

} // namespace

Verdict ScoreEntry(RunTallies &tallies, std::string_view punchText, std::string_view appleText)
{
    const auto punch = readScore(punchText);
    const auto apple = readScore(appleText);
    if (!isScore(punch)) {
        return Verdict::PunchInvalid;
    }
    if (!isScore(apple)) {
        return Verdict::AppleInvalid;
    }

    const int appleTotal = tallies.intAppleTotal + *apple;
    const int punchTotal = tallies.intPunchTotal + *punch;
    const int testerCount = tallies.intTesterCount + 1;
    constexpr int largest = std::numeric_limits<std::int16_t>::max();
    if (appleTotal > largest || punchTotal > largest || testerCount > largest) {
        return Verdict::TallyFull;
    }
    tallies.intAppleTotal = static_cast<std::int16_t>(appleTotal);
    tallies.intPunchTotal = static_cast<std::int16_t>(punchTotal);
    tallies.intTesterCount = static_cast<std::int16_t>(testerCount);
    return Verdict::Accepted;
}

VerdictMessage messageFor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Accepted:
        break;
    case Verdict::PunchInvalid:
        return {"Invalid score", "Enter a Prune Punch score from 1 to 10"};
    case Verdict::AppleInvalid:
        return {"Invalid score", "Enter an Apple Adescore from 1 to 10"};
    case Verdict::TallyFull:
        return {"Tally full", "The totals have no room for these scores; they were not recorded"};
    }
    return {};
}

} // namespace sipster
