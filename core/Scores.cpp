// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Scores.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <version>

#if !defined(__cpp_lib_to_chars) || defined(SIPSTER_READ_DECIMALS_WITH_STRTOD)
#include <cerrno>
#include <cstdlib>
#include <string>
#endif

namespace sipster {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// 767 significant digits decide the rounding of any double; beyond that only "was anything
// non-zero dropped" matters, kept as one extra digit.
constexpr std::size_t kMaxSignificantDigits = 800;
// Decimal exponents beyond this are infinity or zero anyway; capping keeps the sums in range.
constexpr std::int64_t kExponentCap = 100000;
constexpr std::int64_t kLargestDecade = 400;

// Reads digits with a decimal exponent ("123e-4"), correctly rounded, into value; false where the
// number is beyond a double's range, too large or too small to be told from zero.
bool readDecimal(const char *first, const char *last, double &value)
{
#if defined(__cpp_lib_to_chars) && !defined(SIPSTER_READ_DECIMALS_WITH_STRTOD)
    return std::from_chars(first, last, value).ec != std::errc::result_out_of_range;
#else
    // libc++ 18 (emscripten 3.1.69's) reads no floating-point number with from_chars. strtod
    // rounds as correctly in glibc and musl, and the text has no decimal point for the locale to
    // change. It reports a tiny number it could still give (a subnormal) as out of range too.
    const std::string text(first, last);
    errno = 0;
    value = std::strtod(text.c_str(), nullptr);
    return errno != ERANGE || (value != 0 && !std::isinf(value));
#endif
}

// Walks a text as if every blank, tab and line feed had been removed from it first.
class Cursor
{
public:
    explicit Cursor(std::string_view text)
        : m_text(text)
    {
        skipIgnored();
    }

    // '\0' at the end; an embedded NUL cannot continue a number either.
    char peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }

    void advance()
    {
        ++m_pos;
        skipIgnored();
    }

private:
    void skipIgnored()
    {
        while (m_pos < m_text.size()
               && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n')) {
            ++m_pos;
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c, int radix)
{
    int value = -1;
    if (isDecimalDigit(c)) {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < radix ? value : -1;
}

double scanRadix(Cursor &cursor, int radix)
{
    double value = 0;
    for (int digit = digitValue(cursor.peek(), radix); digit >= 0;
         digit = digitValue(cursor.peek(), radix)) {
        value = value * radix + digit; // exact while it matters; saturates to infinity
        cursor.advance();
    }
    return value;
}

std::int64_t scanExponent(Cursor &cursor)
{
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }
    std::int64_t exponent = 0;
    while (isDecimalDigit(cursor.peek())) {
        exponent = std::min(exponent * 10 + (cursor.peek() - '0'), kExponentCap);
        cursor.advance();
    }
    return negative ? -exponent : exponent;
}

double scanDecimal(Cursor &cursor)
{
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }

    // The value is digits (as a whole number) times ten to the power of exponent.
    char digits[kMaxSignificantDigits + 1];
    std::size_t count = 0;
    std::int64_t exponent = 0;
    bool anyDigit = false;
    bool seenPoint = false;
    bool droppedNonZero = false;
    for (char c = cursor.peek();; c = cursor.peek()) {
        if (isDecimalDigit(c)) {
            anyDigit = true;
            if (count == 0 && c == '0') {
                exponent -= seenPoint ? 1 : 0;
            } else if (count < kMaxSignificantDigits) {
                digits[count++] = c;
                exponent -= seenPoint ? 1 : 0;
            } else {
                droppedNonZero = droppedNonZero || c != '0';
                exponent += seenPoint ? 0 : 1;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        cursor.advance();
    }
    if (!anyDigit) {
        return 0;
    }
    const char marker = cursor.peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        cursor.advance();
        exponent += scanExponent(cursor); // no digits after the marker adds nothing
    }
    if (count == 0) {
        return negative ? -0.0 : 0.0;
    }
    if (droppedNonZero) {
        digits[count++] = '1';
        --exponent;
    }

    const std::int64_t decade = exponent + static_cast<std::int64_t>(count);
    double magnitude = 0;
    if (decade > kLargestDecade) {
        magnitude = kInfinity;
    } else if (decade >= -kLargestDecade) {
        char text[kMaxSignificantDigits + 32];
        std::size_t length = 0;
        for (std::size_t i = 0; i < count; ++i) {
            text[length++] = digits[i];
        }
        text[length++] = 'e';
        const auto written = std::to_chars(text + length, text + sizeof text, exponent);
        if (!readDecimal(text, written.ptr, magnitude)) {
            magnitude = decade > 0 ? kInfinity : 0.0;
        }
    }
    return negative ? -magnitude : magnitude;
}

} // namespace

double scanNumber(std::string_view text)
{
    Cursor cursor(text);
    if (cursor.peek() == '&') {
        cursor.advance();
        const char prefix = cursor.peek();
        if (prefix == 'H' || prefix == 'h') {
            cursor.advance();
            return scanRadix(cursor, 16);
        }
        if (prefix == 'O' || prefix == 'o') {
            cursor.advance();
            return scanRadix(cursor, 8);
        }
        return 0;
    }
    return scanDecimal(cursor);
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value)) {
        return value;
    }
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return std::round(value);
}

std::optional<std::int16_t> readScore(std::string_view text)
{
    const double value = roundHalfEven(scanNumber(text));
    if (!(value >= std::numeric_limits<std::int16_t>::min()
          && value <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

} // namespace sipster
