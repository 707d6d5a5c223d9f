#pragma once
// The C runtime's rand() as the Windows runtime computes it, never seeded:
// every run starts the same sequence, so the k-th note of a run always lands
// on the same default place, on every build.
#include <cstdint>

class RuntimeRand {
public:
    static constexpr uint32_t kInitialSeed = 1;
    // Next value in 0..32767.
    static int Next();
    // Back to the state of a fresh process (tests only).
    static void Reset(uint32_t seed = kInitialSeed);

private:
    static uint32_t s_state;
};
