#include "schedule/WaveSound.h"

#include <windows.h>

#include <io.h>
#include <mmsystem.h>

#include "framework/WideText.h"

bool WaveFileExists(const std::u16string& path)
{
    return !path.empty() && _waccess(WideChars(path), 0) == 0;
}

bool PlayWaveInBackground(const std::u16string& path)
{
    return sndPlaySoundW(WideChars(path), SND_ASYNC | SND_NODEFAULT | SND_NOSTOP) != FALSE;
}
