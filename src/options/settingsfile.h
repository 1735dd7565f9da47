// SPDX-License-Identifier: MIT
// The one-number settings files: their names, the bounds applied to their values, reading and writing.
#pragma once

#include <optional>
#include <string>

namespace pelorix {

class Platform;

inline constexpr const char* movetimefile = "movepiece.Time";
inline constexpr const char* newtimefile = "newpuzzle.Time";
// Start-up reads "animation.time" and the pace commands write "animation.Time": names compare
// without regard to case, so both are one file.
inline constexpr const char* animationreadname = "animation.time";
inline constexpr const char* animationfile = "animation.Time";
inline constexpr const char* dcolourfile = "colour.dcolour";
inline constexpr const char* dcolour2file = "colour.dcolour2";

// Largest `movetime` (hundredths of a second) and `newtime` (tenths) whose Timer1 interval,
// 10 × `movetime` or 100 × `newtime` milliseconds, still fits a timer (at most 2147483647 ms).
inline constexpr double maxmovetime = 214748364.7;
inline constexpr double maxnewtime = 21474836.47;

// `movetime` as it may be kept: negative gives 0, above `maxmovetime` gives `maxmovetime`.
double boundmovetime(double value);
// `newtime` as it may be kept: 0 or negative gives 1, above `maxnewtime` gives `maxnewtime`.
double boundnewtime(double value);
// A palette index from a stored number, rounded half to even. Empty result: outside 0-15.
std::optional<int> colourindex(double value);
// The animation pace from a stored number: 1 (Slow) for 1, 0 (Fast) for anything else.
int animationpace(double value);

// The number at the start of the named file. Empty result: the file is missing, unreadable or
// holds no readable number.
std::optional<double> readsetting(Platform& platform, const std::string& name);
// Replaces the named file's content with `value` in the settings-file form. False: write failed.
bool writesetting(Platform& platform, const std::string& name, double value);

}  // namespace pelorix
