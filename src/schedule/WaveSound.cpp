#include "schedule/WaveSound.h"

#include <windows.h>

#include <io.h>
#include <mmsystem.h>

bool WaveFileExists(const std::string& path)
{
    return !path.empty() && _access(path.c_str(), 0) == 0;
}

bool PlayWaveInBackground(const std::string& path)
{
    return sndPlaySoundA(path.c_str(), SND_ASYNC | SND_NODEFAULT | SND_NOSTOP) != FALSE;
}
