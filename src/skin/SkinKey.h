#pragma once
// Skin pictures are stored with their first bytes XORed with a one-byte key,
// so that they are not opened as plain pictures by accident.
#include <cstddef>
#include <cstdint>

constexpr uint8_t kSkinKey = 0x5A;
constexpr size_t kScrambledHeaderBytes = 100;

// XORs the first 100 bytes (all of them when there are fewer) with the key.
// The same call scrambles and unscrambles.
void UnscrambleHeader(uint8_t* data, size_t size);
