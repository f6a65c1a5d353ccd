// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string_view>

namespace sipster {

// The only data the program keeps: running sums for the current run, all starting at zero.
// Invariant: each total is at least intTesterCount, since every accepted score is at least 1.
struct RunTallies
{
    std::int16_t intPunchTotal = 0;
    std::int16_t intAppleTotal = 0;
    std::int16_t intTesterCount = 0;
};

enum class Verdict {
    Accepted,
    PunchInvalid,
    AppleInvalid,
    TallyFull,
};

inline constexpr int kLowestScore = 1;
inline constexpr int kHighestScore = 10;

// Reads one tester's two typed scores and, if both are from 1 to 10 and the tallies have room,
// adds them and one tester. Otherwise nothing changes and the verdict names the refusal: the
// Prune Punch text is judged first, and an entry that would carry any tally past the 16-bit
// range is refused whole.
Verdict ScoreEntry(RunTallies &tallies, std::string_view punchText, std::string_view appleText);

// The message box a refusal is reported with. Accepted has none: both texts are empty.
struct VerdictMessage
{
    std::string_view title;
    std::string_view prompt;
};

VerdictMessage messageFor(Verdict verdict);

} // namespace sipster
