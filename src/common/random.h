#pragma once
// The two random generators: the system generator (a 32-bit linear
// congruential generator) and the multi-stream generator (100 streams of one
// prime-modulus sequence, ten million numbers apart, plus two free slots).
#include <cstdint>

namespace tarvik {

// System generator state; 0 until Randomize runs.
extern std::uint32_t RandSeed;

void Randomize();
// An integer in 0 .. n-1 (0 when n <= 0).
int RandomInt(int n);
// A real in [0, 1).
double RandomReal();

inline constexpr int kRndStreams = 100;
inline constexpr int kRndSlots = 102;
inline constexpr std::int32_t kRndModulus = 2147483647;
inline constexpr std::int32_t kRndMultiplier = 630360016;

// Streams 1 .. 100 get their start seeds; slots 101 and 102 keep theirs.
void RndReset();
// The next number of a stream (1 .. 102), in (0, 1); never 0 or 1.
double RndUniform(int stream);
void RndSetSeed(std::int32_t seed, int slot);
std::int32_t RndGetSeed(int slot);

// a^k mod (2^31 - 1), used for the stream starts.
std::int32_t RndPower(std::uint64_t k);

} // namespace tarvik
