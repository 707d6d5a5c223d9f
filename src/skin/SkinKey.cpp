#include "skin/SkinKey.h"

#include <algorithm>

void UnscrambleHeader(uint8_t* data, size_t size)
{
    const size_t count = std::min(size, kScrambledHeaderBytes);
    for (size_t i = 0; i < count; ++i)
        data[i] ^= kSkinKey;
}
