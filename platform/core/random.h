#pragma once
// The program's one random generator: a 32-bit linear congruential state whose draws
// are the upper half of state × n, reseeded from the UTC time of day.
#include <cstdint>

namespace quillon {

class Random {
public:
    // A draw from 0 to n - 1 (0 for n = 0).
    uint32_t draw(uint32_t n) {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(seed_) * n) >> 32);
    }
    void setSeed(uint32_t seed) { seed_ = seed; }
    uint32_t seed() const { return seed_; }
    // Seeds from the program clock's UTC time of day in milliseconds.
    void reseed();

private:
    uint32_t seed_ = 0;
};

Random& programRandom();

} // namespace quillon
