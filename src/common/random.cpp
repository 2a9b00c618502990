#include "common/random.h"

#include <array>
#include <chrono>

namespace tarvik {

std::uint32_t RandSeed = 0;

namespace {

std::array<std::int32_t, kRndSlots + 1> gSeeds{}; // index 0 unused

inline void Step() {
    RandSeed = RandSeed * 134775813u + 1u;
}

// z * b mod (2^31 - 1) in 32-bit arithmetic (b below 2^15 + 2^14).
inline std::int32_t MulMod(std::int32_t z, std::int32_t b) {
    const std::int32_t lowprd = (z & 0xFFFF) * b;
    const std::int32_t hi31 = (z >> 16) * b + (lowprd >> 16);
    std::int32_t r = (lowprd & 0xFFFF) - kRndModulus + ((hi31 & 0x7FFF) << 16) + (hi31 >> 15);
    if (r < 0) r += kRndModulus;
    return r;
}

int ClampSlot(int slot) {
    return slot < 1 ? 1 : (slot > kRndSlots ? kRndSlots : slot);
}

} // namespace

void Randomize() {
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    RandSeed = static_cast<std::uint32_t>(ticks);
}

int RandomInt(int n) {
    Step();
    if (n <= 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(n)) >> 32);
}

double RandomReal() {
    Step();
    return static_cast<double>(RandSeed) / 4294967296.0;
}

std::int32_t RndPower(std::uint64_t k) {
    std::uint64_t result = 1, base = static_cast<std::uint64_t>(kRndMultiplier);
    const std::uint64_t m = static_cast<std::uint64_t>(kRndModulus);
    while (k > 0) {
        if (k & 1) result = result * base % m;
        base = base * base % m;
        k >>= 1;
    }
    return static_cast<std::int32_t>(result);
}

void RndReset() {
    for (int i = 1; i <= kRndStreams; ++i)
        gSeeds[static_cast<std::size_t>(i)] = RndPower(1 + 10000000ull * static_cast<std::uint64_t>(i - 1));
}

double RndUniform(int stream) {
    std::int32_t& seed = gSeeds[static_cast<std::size_t>(ClampSlot(stream))];
    std::int32_t z = MulMod(seed, 24112);
    z = MulMod(z, 26143);
    seed = z;
    return static_cast<double>(2 * (z / 256) + 1) / 16777216.0;
}

void RndSetSeed(std::int32_t seed, int slot) {
    gSeeds[static_cast<std::size_t>(ClampSlot(slot))] = seed;
}

std::int32_t RndGetSeed(int slot) {
    return gSeeds[static_cast<std::size_t>(ClampSlot(slot))];
}

} // namespace tarvik
