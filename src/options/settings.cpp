// SPDX-License-Identifier: MIT
// The settings files: start-up settings, default and per-picture colours, and the shared writer.
#include <cmath>

#include "game/puzzlemaker2.h"
#include "options/numbers.h"
#include "options/settingsfile.h"

namespace pelorix {

double boundmovetime(double value) {
    if (!(value > 0)) return 0;  // also turns a NaN or a negative zero into 0
    return value > maxmovetime ? maxmovetime : value;
}

double boundnewtime(double value) {
    if (!(value > 0)) return 1;
    return value > maxnewtime ? maxnewtime : value;
}

std::optional<int> colourindex(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // Half to even: 2.5 gives 2 and 3.5 gives 4, as whole-number settings are stored.
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
    if (whole < 0 || whole > 15) return std::nullopt;
    return static_cast<int>(whole);
}

int animationpace(double value) { return value == 1 ? 1 : 0; }

std::optional<double> readsetting(Platform& platform, const std::string& name) {
    const std::optional<std::string> content = platform.readTextFile(name);
    if (!content) return std::nullopt;
    return settingvalue(*content);
}

bool writesetting(Platform& platform, const std::string& name, double value) {
    return platform.writeTextFile(name, settingbytes(value));
}

namespace {

// Reads a colour file into `field`; a missing file, no number or an index outside 0-15 keep it.
// True when the field took the file's value.
bool readcolour(Platform& platform, const std::string& name, int& field) {
    const std::optional<double> value = readsetting(platform, name);
    if (!value) return false;
    const std::optional<int> index = colourindex(*value);
    if (!index) return false;
    field = *index;
    return true;
}

// A per-picture colour file is read and then written back with the value read, so it always
// ends in the canonical form. A file that is missing or unusable is neither created nor touched.
void refreshcolour(Platform& platform, const std::string& name, int& field) {
    // A rewrite that fails leaves the file as it was, still readable next time.
    if (readcolour(platform, name, field)) static_cast<void>(writesetting(platform, name, field));
}

}  // namespace

void puzzlemaker2::readdefaultcolours() {
    puzzle.dcolour = defaultcolour::hole;
    puzzle.dcolour2 = defaultcolour::background;
    readcolour(platform(), dcolourfile, puzzle.dcolour);
    readcolour(platform(), dcolour2file, puzzle.dcolour2);
}

void puzzlemaker2::readstartupsettings() {
    readdefaultcolours();

    loop.movetime = 1;
    loop.newtime = 100;
    if (const auto value = readsetting(platform(), movetimefile)) loop.movetime = boundmovetime(*value);
    if (const auto value = readsetting(platform(), newtimefile)) loop.newtime = boundnewtime(*value);

    // The pace file is taken as a number whatever it holds: no number reads as 0, and anything
    // but 0 or 1 becomes 0 (Fast).
    if (const auto content = platform().readTextFile(animationreadname))
        loop.nwait4 = animationpace(settingvalue(*content).value_or(0));

    platform().setMenuChecked(Menu::tfast, false);
    platform().setMenuChecked(Menu::tslow, false);
    platform().setMenuChecked(loop.nwait4 == pace::slow ? Menu::tslow : Menu::tfast, true);
}

void puzzlemaker2::readpicturecolours() {
    // A picture file name of four characters or fewer leaves no picture name: there is no
    // colour file to look for.
    if (puzzle.picturename.empty()) return;
    refreshcolour(platform(), puzzle.picturename + ".colour", puzzle.colour);
    if (puzzle.animated == puzzletype::animated)
        refreshcolour(platform(), puzzle.picturename + ".colour2", puzzle.colour2);
}

}  // namespace pelorix
