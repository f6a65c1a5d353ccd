// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sipster {

// Reads the number a typed text starts with, the same in every locale. Blanks, tabs and line
// feeds anywhere in the text are ignored; an optional sign; decimal digits with at most one full
// stop; an optional exponent after E or D (either case); or &H hexadecimal and &O octal digits.
// Reading stops at the first character that cannot continue the number; a text that does not
// start with a number reads 0. Too large a value reads as infinity. Time is linear in the length.
double scanNumber(std::string_view text);

// The nearest whole number, a half going to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
double roundHalfEven(double value);

// The whole number a typed text reads to, or nullopt when it does not fit a signed 16-bit value.
std::optional<std::int16_t> readScore(std::string_view text);

} // namespace sipster
