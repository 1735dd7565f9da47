// SPDX-License-Identifier: MIT
// Numbers in text: reading the number at the start of a text, and the box and file forms of a number.
#include "options/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pelorix {

namespace {

bool blankchar(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool digitchar(char c) { return c >= '0' && c <= '9'; }

// Scans the number at the start of `text` into a plain "[-]digits[.digits][e[-]digits]" form.
// With `skipBlanks` blanks anywhere are passed over, as in a text box; without, the first blank
// ends the number. Empty result: no digit before the number ends.
std::optional<double> leadingnumber(std::string_view text, bool skipBlanks) {
    std::string mantissa;
    std::string exponent;
    bool negative = false;
    bool exponentNegative = false;
    bool digits = false;
    enum class Part { Sign, Whole, Fraction, ExponentSign, Exponent } part = Part::Sign;

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (blankchar(c)) {
            if (skipBlanks) continue;
            break;
        }
        if (part == Part::Sign) {
            part = Part::Whole;
            if (c == '-' || c == '+') {
                negative = c == '-';
                continue;
            }
        }
        if (part == Part::Whole || part == Part::Fraction) {
            if (digitchar(c)) {
                digits = true;
                mantissa += c;
                continue;
            }
            if (c == '.' && part == Part::Whole) {
                part = Part::Fraction;
                mantissa += c;
                continue;
            }
            // An exponent may follow only once there are digits: "e5" is no number.
            if (digits && (c == 'e' || c == 'E' || c == 'd' || c == 'D')) {
                part = Part::ExponentSign;
                continue;
            }
            break;
        }
        if (part == Part::ExponentSign) {
            part = Part::Exponent;
            if (c == '-' || c == '+') {
                exponentNegative = c == '-';
                continue;
            }
        }
        if (part == Part::Exponent && digitchar(c)) {
            // Long exponents only matter as "very large"; nine significant digits keep the sum
            // below in range.
            if ((c != '0' || !exponent.empty()) && exponent.size() < 9) exponent += c;
            continue;
        }
        break;
    }
    if (!digits) return std::nullopt;

    std::string plain = mantissa;
    if (!exponent.empty()) plain += (exponentNegative ? "e-" : "e") + exponent;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: the nearest value that is, keeping the sign. The
        // first significant digit's place (positive before the point) tells which of the two.
        const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
        const std::size_t first = mantissa.find_first_of("123456789");
        const long long place = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point);
        const long long power = exponent.empty() ? 0 : std::stoll(exponent);
        value = place + (exponentNegative ? -power : power) > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

double textvalue(std::string_view text) { return leadingnumber(text, true).value_or(0.0); }

std::string numbertext(double value) {
    if (std::isnan(value)) value = 0;
    if (std::isinf(value)) value = value > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    if (value == 0) return "0";  // also turns a negative zero into "0"

    // Fifteen significant digits, trailing zeros dropped; an exponent only for very large or
    // very small magnitudes, as "1E+15" and "1E-05".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e') c = 'E';
    // No zero before the point: "0.5" is written ".5", "-0.5" is written "-.5".
    if (text.starts_with("0.")) text.erase(0, 1);
    else if (text.starts_with("-0.")) text.erase(1, 1);
    return text;
}

std::string settingbytes(double value) {
    const std::string number = numbertext(value);
    // A negative number brings its own minus sign; others get a blank in its place.
    return (number.starts_with('-') ? number : " " + number) + " \r\n";
}

std::optional<double> settingvalue(std::string_view content) {
    std::size_t start = 0;
    while (start < content.size() && blankchar(content[start])) ++start;
    // Without blank skipping the scan itself ends at a blank, a comma or a line end; only the
    // number's own text is bounded, not the run of blanks before it.
    return leadingnumber(content.substr(start, maxnumbertext), false);
}

}  // namespace pelorix
