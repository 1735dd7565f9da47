// SPDX-License-Identifier: MIT
// The game's one random generator: uniform values in [0, 1), reseeded from a number.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>

namespace pelorix {

class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed = 0) : engine_(seed) {}

    // Reseeds from any number (e.g. seconds since midnight); equal seeds give equal sequences.
    void seed(double value, std::uint64_t salt = 0) {
        std::uint64_t bits = 0;
        static_assert(sizeof bits == sizeof value);
        std::memcpy(&bits, &value, sizeof bits);
        engine_.seed(bits ^ salt);
    }
    // Uniform in [0, 1): 53 random bits, so 1 is never returned.
    double next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 engine_;
};

}  // namespace pelorix
