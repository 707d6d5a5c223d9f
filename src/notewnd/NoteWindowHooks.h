#pragma once
// Lets a note record destroy its window when the note goes. Called once at
// start-up, before any note window exists. Kept apart from CNoteWnd.h so
// start-up code needs no window headers.
void InstallNoteWindowHooks();
