// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as the text of a settings file or a text box, and as a number to write back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "options/numbers.h"

namespace {

// A number written and read back is the same up to the 15 significant digits written.
void checkRoundTrip(double value) {
    const std::string text = pelorix::numbertext(value);
    const double back = pelorix::textvalue(text);
    const auto stored = pelorix::settingvalue(pelorix::settingbytes(value));
    if (!std::isfinite(back) || !stored || *stored != back) std::abort();
    if (std::isfinite(value) && std::fabs(back - value) > 1e-14 * std::fabs(value) + 1e-300) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double typed = pelorix::textvalue(text);
    if (!std::isfinite(typed)) std::abort();
    checkRoundTrip(typed);
    if (const auto read = pelorix::settingvalue(text)) {
        if (!std::isfinite(*read)) std::abort();
        checkRoundTrip(*read);
    }
    // The first eight bytes as any double at all, NaN and infinities included.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkRoundTrip(raw);
    }
    return 0;
}
