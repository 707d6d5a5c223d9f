#include "framework/OleUse.h"

#include <windows.h>

#include <objbase.h>
#include <ole2.h>

bool OleUse::Begin()
{
    if (!s_begun) {
        s_begun = true;
        // S_FALSE: started before on this thread (a host program); it is
        // ended as often as it was started, so End still ends ours.
        s_usable = SUCCEEDED(OleInitialize(nullptr));
    }
    return s_usable;
}

void OleUse::End()
{
    if (s_usable)
        OleUninitialize();
    s_begun = s_usable = false;
}
