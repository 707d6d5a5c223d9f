#pragma once
// Alarm sounds: wave files played in the background, so a long sound never
// holds up the program. A file that cannot be played gives silence, not the
// system's default sound, and a sound already playing is not cut off (the
// new one is then not played).
#include <string>

bool WaveFileExists(const std::u16string& path);
// Starts the sound and returns at once; false when it did not start.
bool PlayWaveInBackground(const std::u16string& path);
