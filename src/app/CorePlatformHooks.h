#pragma once
// Connects the portable core to this platform: the system's ANSI code page
// for the notes file's strings, and the screen resolution for default fonts.
void InstallCorePlatformHooks();
