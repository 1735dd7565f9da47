// SPDX-License-Identifier: MIT
// Numbers in text: the value at the start of a text, the text a box shows, and the settings-file form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelorix {

// The number at the start of `text`: blanks are skipped wherever they stand, reading stops at the
// first character that cannot continue a number; 0 when the text has no leading number.
// ".5" gives 0.5, "25abc" 25, "abc" 0, "-3" -3, "1e2" 100.
double textvalue(std::string_view text);

// The shortest decimal form of `value` (at most 15 significant digits), without a leading blank
// and without a zero before the decimal point: "1", "100", ".5", "-.5".
std::string numbertext(double value);

// The bytes a settings file holds for `value`: a blank (or "-" when negative), the shortest form,
// a blank, CR LF. 1 gives " 1 \r\n", one half " .5 \r\n".
std::string settingbytes(double value);

// Longest number text a settings file's number is read from; what follows is ignored.
inline constexpr std::size_t maxnumbertext = 65536;

// The first number of a settings file: leading blanks skipped however many, the field ends at a
// blank, a comma or the end of the line, and at most `maxnumbertext` characters of it are read.
// Empty result: the file holds no readable number.
std::optional<double> settingvalue(std::string_view content);

}  // namespace pelorix
