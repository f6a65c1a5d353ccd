// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>

namespace sipster {

// Runs the tally core on one arbitrary input and aborts with a message if any of its rules is
// broken. The input's first byte picks the starting tallies and number style, the second the
// length of the Prune Punch text; the rest is the two texts.
void checkScoreInput(const std::uint8_t *data, std::size_t size);

} // namespace sipster
