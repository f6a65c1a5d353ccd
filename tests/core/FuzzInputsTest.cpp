// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "ScoreChecks.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

// Every seed and every input that once broke a rule goes through the fuzzer's checks again.
TEST(FuzzInputs, SeedsAndPastFailuresKeepTheRules)
{
    int inputs = 0;
    for (const char *folder : {"corpus", "regressions"}) {
        const std::filesystem::path directory = std::filesystem::path(FUZZ_DIR) / folder;
        for (const auto &entry : std::filesystem::directory_iterator(directory)) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> data {std::istreambuf_iterator<char>(file), {}};
            SCOPED_TRACE(entry.path().string());
            sipster::checkScoreInput(data.data(), data.size());
            ++inputs;
        }
    }
    EXPECT_GE(inputs, 7);
}

} // namespace
