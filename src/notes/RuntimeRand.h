#pragma once
// The C runtime's rand() as the Windows runtime computes it: the default
// places of notes, two draws per note. The program seeds it once at start, so
// that one run's new notes do not land where the last run's did; unseeded, it
// starts where a fresh process's rand() does, as the tests rely on.
#include <cstdint>

class RuntimeRand {
public:
    static constexpr uint32_t kInitialSeed = 1;
    // Next value in 0..32767.
    static int Next();
    // Starts the sequence again from a seed; by default from a fresh
    // process's state.
    static void Reset(uint32_t seed = kInitialSeed);

private:
    static uint32_t s_state;
};
