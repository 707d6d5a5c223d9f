#include "schedule/WaveSound.h"

#include <windows.h>

#include <mmsystem.h>

#include "framework/WideText.h"

bool WaveFileExists(const std::u16string& path)
{
    // A folder of that name is no sound to play.
    return !path.empty() && IsExistingFile(WideChars(path));
}

bool PlayWaveInBackground(const std::u16string& path)
{
    return sndPlaySoundW(WideChars(path), SND_ASYNC | SND_NODEFAULT | SND_NOSTOP) != FALSE;
}
