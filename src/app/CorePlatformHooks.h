#pragma once
// Connects the portable core to this platform: the system's ANSI code page
// for the notes file's strings, the screen resolution for default fonts, and
// the system's random source for note ids.
void InstallCorePlatformHooks();
