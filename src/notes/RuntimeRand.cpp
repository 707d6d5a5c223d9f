#include "notes/RuntimeRand.h"

uint32_t RuntimeRand::s_state = RuntimeRand::kInitialSeed;

int RuntimeRand::Next()
{
    s_state = s_state * 214013u + 2531011u;
    return static_cast<int>((s_state >> 16) & 0x7FFF);
}

void RuntimeRand::Reset(uint32_t seed)
{
    s_state = seed;
}
