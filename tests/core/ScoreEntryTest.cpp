// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "core/RunTallies.h"
#include "tests/CaseName.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace sipster {
namespace {

struct EntryCase
{
    const char *name;
    std::string punch;
    std::string apple;
    Verdict verdict;
    int punchScore = 0;
    int appleScore = 0;
};

void PrintTo(const EntryCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScoreEntryVerdict : public testing::TestWithParam<EntryCase>
{
};

TEST_P(ScoreEntryVerdict, JudgesPunchFirstAndRecordsOnlyWhenAccepted)
{
    const EntryCase &c = GetParam();
    RunTallies tallies {20, 30, 4};
    EXPECT_EQ(ScoreEntry(tallies, c.punch, c.apple), c.verdict);
    const bool accepted = c.verdict == Verdict::Accepted;
    EXPECT_EQ(tallies.intPunchTotal, 20 + c.punchScore);
    EXPECT_EQ(tallies.intAppleTotal, 30 + c.appleScore);
    EXPECT_EQ(tallies.intTesterCount, accepted ? 5 : 4);
}

INSTANTIATE_TEST_SUITE_P(
    CheckOrder, ScoreEntryVerdict,
    testing::Values(EntryCase {"BothEmpty", "", "", Verdict::PunchInvalid},
                    EntryCase {"AppleEmpty", "5", "", Verdict::AppleInvalid},
                    EntryCase {"BothTooHigh", "11", "11", Verdict::PunchInvalid},
                    EntryCase {"AppleTooHigh", "7", "11", Verdict::AppleInvalid},
                    EntryCase {"PunchRoundsToZero", "0.5", "5", Verdict::PunchInvalid},
                    EntryCase {"PunchNegative", "-1", "5", Verdict::PunchInvalid},
                    EntryCase {"PunchBeyond16Bits", "40000", "5", Verdict::PunchInvalid},
                    EntryCase {"AppleBeyond16Bits", "5", "-99999", Verdict::AppleInvalid},
                    EntryCase {"PunchInfinite", "1e400", "abc", Verdict::PunchInvalid},
                    EntryCase {"AppleHexTooLarge", "5", "&H7FFFFFFF", Verdict::AppleInvalid},
                    EntryCase {"CommaReadsAsOne", "1,9", "2", Verdict::Accepted, 1, 2},
                    EntryCase {"HalvesToEven", "10.5", "0.6", Verdict::Accepted, 10, 1},
                    EntryCase {"BlanksAndHex", "  7  ", "&HA", Verdict::Accepted, 7, 10},
                    EntryCase {"TrailingLetters", "3abc", "1e1", Verdict::Accepted, 3, 10},
                    EntryCase {"Bounds", "1", "10", Verdict::Accepted, 1, 10}),
    CaseName());

TEST(ScoreEntryRecording, AddsUpTesterAfterTester)
{
    RunTallies tallies;
    EXPECT_EQ(ScoreEntry(tallies, "8", "6"), Verdict::Accepted);
    EXPECT_EQ(ScoreEntry(tallies, "5", "9"), Verdict::Accepted);
    EXPECT_EQ(ScoreEntry(tallies, "10", "10"), Verdict::Accepted);
    EXPECT_EQ(tallies.intPunchTotal, 23);
    EXPECT_EQ(tallies.intAppleTotal, 25);
    EXPECT_EQ(tallies.intTesterCount, 3);
}

struct FullCase
{
    const char *name;
    RunTallies before;
    std::string punch;
    std::string apple;
    Verdict verdict;
};

void PrintTo(const FullCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScoreEntryOverflow : public testing::TestWithParam<FullCase>
{
};

TEST_P(ScoreEntryOverflow, RefusesAWholeEntryThatDoesNotFit)
{
    const FullCase &c = GetParam();
    RunTallies tallies = c.before;
    EXPECT_EQ(ScoreEntry(tallies, c.punch, c.apple), c.verdict);
    if (c.verdict != Verdict::Accepted) {
        EXPECT_EQ(tallies.intPunchTotal, c.before.intPunchTotal);
        EXPECT_EQ(tallies.intAppleTotal, c.before.intAppleTotal);
        EXPECT_EQ(tallies.intTesterCount, c.before.intTesterCount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ScoreEntryOverflow,
    testing::Values(
        FullCase {"PunchFillsExactly", {32757, 100, 50}, "10", "1", Verdict::Accepted},
        FullCase {"PunchOverflows", {32758, 100, 50}, "10", "1", Verdict::TallyFull},
        FullCase {"AppleOverflows", {100, 32767, 50}, "1", "1", Verdict::TallyFull},
        FullCase {"CountOverflows", {32767, 32767, 32767}, "1", "1", Verdict::TallyFull},
        FullCase {"InvalidBeatsFull", {32767, 32767, 32767}, "0", "1", Verdict::PunchInvalid}),
    CaseName());

TEST(VerdictMessages, NameTheBoxAtFault)
{
    EXPECT_EQ(messageFor(Verdict::PunchInvalid).title, "Invalid score");
    EXPECT_EQ(messageFor(Verdict::PunchInvalid).prompt, "Enter a Prune Punch score from 1 to 10");
    EXPECT_EQ(messageFor(Verdict::AppleInvalid).title, "Invalid score");
    EXPECT_EQ(messageFor(Verdict::AppleInvalid).prompt, "Enter an Apple Adescore from 1 to 10");
    EXPECT_EQ(messageFor(Verdict::TallyFull).title, "Tally full");
    EXPECT_EQ(messageFor(Verdict::TallyFull).prompt,
              "The totals have no room for these scores; they were not recorded");
    EXPECT_TRUE(messageFor(Verdict::Accepted).prompt.empty());
}

// An independent reading of a typed score, for checking generated texts: the longest prefix of
// the grammar handed to the C library's strtod, rounded with the default rounding mode.
std::optional<long> referenceScore(const std::string &typed)
{
    std::string text;
    for (char c : typed) {
        if (c != ' ' && c != '\t' && c != '\n') {
            text += c;
        }
    }
    double value = 0;
    if (text.size() >= 2 && text[0] == '&' && std::strchr("HhOo", text[1]) != nullptr) {
        const int radix = (text[1] == 'H' || text[1] == 'h') ? 16 : 8;
        const std::string digits = text.substr(2);
        const std::size_t end
            = digits.find_first_not_of(radix == 16 ? "0123456789abcdefABCDEF" : "01234567");
        const std::string valid = digits.substr(0, end);
        if (radix == 16) {
            value = valid.empty() ? 0 : std::strtod(("0x" + valid).c_str(), nullptr);
        } else {
            for (char d : valid) {
                value = value * 8 + (d - '0');
            }
        }
    } else {
        std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
        const std::size_t start = i;
        i = text.find_first_not_of("0123456789", i);
        i = i == std::string::npos ? text.size() : i;
        std::size_t digits = i - start;
        if (i < text.size() && text[i] == '.') {
            const std::size_t after = text.find_first_not_of("0123456789", i + 1);
            const std::size_t end = after == std::string::npos ? text.size() : after;
            digits += end - i - 1;
            i = end;
        }
        std::string number = digits > 0 ? text.substr(0, i) : "0";
        if (digits > 0 && i + 1 < text.size() && std::strchr("EeDd", text[i]) != nullptr) {
            std::size_t j = i + 1;
            j += (text[j] == '+' || text[j] == '-') ? 1 : 0;
            const std::size_t end = text.find_first_not_of("0123456789", j);
            if ((end == std::string::npos ? text.size() : end) > j) {
                number += 'e'
                    + text.substr(i + 1, (end == std::string::npos ? text.size() : end) - i - 1);
            }
        }
        value = std::strtod(number.c_str(), nullptr);
    }
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768 && rounded <= 32767)) {
        return std::nullopt;
    }
    return static_cast<long>(rounded);
}

std::string randomText(std::mt19937 &random)
{
    static const std::string pieces[]
        = {"0", "1", "2", "5",  "7",  "9",  "10", "11", ".", ",", "+",    "-",    " ",   "\t", "e",
           "E", "d", "D", "&H", "&O", "&h", "A",  "f",  "x", "$", "\xC3", "\xFF", "0.5", "3"};
    std::uniform_int_distribution<std::size_t> length(0, 6);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) {
        text += pieces[piece(random)];
    }
    return text;
}

RunTallies randomTallies(std::mt19937 &random)
{
    // Half of the runs start close to the limit, so that refusals for a full tally happen too.
    std::uniform_int_distribution<int> count(0, 3200);
    std::uniform_int_distribution<int> room(0, 40);
    const bool nearlyFull = random() % 2 == 0;
    const int testers = count(random);
    const auto total = [&] {
        return nearlyFull ? 32767 - room(random) : testers + static_cast<int>(random() % 1000);
    };
    return {static_cast<std::int16_t>(total()), static_cast<std::int16_t>(total()),
            static_cast<std::int16_t>(testers)};
}

TEST(ScoreEntryProperty, AcceptsExactlyValidPairsThatFit)
{
    std::mt19937 random(20261208);
    RunTallies tallies;
    int accepted = 0;
    int full = 0;
    for (int round = 0; round < 100000; ++round) {
        if (round % 1000 == 0) {
            tallies = randomTallies(random);
        }
        const std::string punch = randomText(random);
        const std::string apple = randomText(random);
        const RunTallies before = tallies;
        const Verdict verdict = ScoreEntry(tallies, punch, apple);

        const auto punchScore = referenceScore(punch);
        const auto appleScore = referenceScore(apple);
        const auto valid = [](std::optional<long> s) {
            return s && *s >= 1 && *s <= 10;
        };
        Verdict expected = Verdict::PunchInvalid;
        if (valid(punchScore) && !valid(appleScore)) {
            expected = Verdict::AppleInvalid;
        } else if (valid(punchScore)) {
            const bool fits = before.intPunchTotal + *punchScore <= 32767
                && before.intAppleTotal + *appleScore <= 32767 && before.intTesterCount < 32767;
            expected = fits ? Verdict::Accepted : Verdict::TallyFull;
        }
        ASSERT_EQ(verdict, expected) << '"' << punch << "\" \"" << apple << '"';

        const int added = verdict == Verdict::Accepted ? 1 : 0;
        ASSERT_EQ(tallies.intPunchTotal, before.intPunchTotal + added * punchScore.value_or(0));
        ASSERT_EQ(tallies.intAppleTotal, before.intAppleTotal + added * appleScore.value_or(0));
        ASSERT_EQ(tallies.intTesterCount, before.intTesterCount + added);
        ASSERT_GE(tallies.intPunchTotal, tallies.intTesterCount);
        ASSERT_GE(tallies.intAppleTotal, tallies.intTesterCount);
        accepted += added;
        full += verdict == Verdict::TallyFull ? 1 : 0;
    }
    // The generator must reach every branch, or the property says little.
    EXPECT_GT(accepted, 1000);
    EXPECT_GT(full, 100);
}

} // namespace
} // namespace sipster
