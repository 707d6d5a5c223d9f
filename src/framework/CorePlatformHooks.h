#pragma once
// Connects the portable core to this platform: the ANSI code page for UTF-16
// strings of the notes file, and the screen resolution for default fonts.
void InstallCorePlatformHooks();
