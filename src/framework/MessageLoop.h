#pragma once
// The program's message loops. A modal run pumps messages itself (as the
// framework the program was designed on does), so that every window object
// of the program may look at a message before it is dispatched: the main
// window swallows Enter and Escape, face buttons relay mouse messages to
// their tooltips, note windows see their keys.
#include <windows.h>

class IPreTranslator {
public:
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& msg) = 0;

protected:
    ~IPreTranslator() = default;
};

namespace MessageLoop {

void RegisterFilter(HWND hwnd, IPreTranslator* filter);
void UnregisterFilter(HWND hwnd);

// Offers the message to the filters of its window and of each parent, from
// the window outwards, then opens the help on F1. True when the message was
// handled.
bool PreTranslate(MSG& msg);

// Pumps messages until *done becomes true or WM_QUIT arrives (which is posted
// again for the outer loop). dialog, when given, gets keyboard navigation.
// Returns false on WM_QUIT.
bool RunUntil(const bool* done, HWND dialog);

}  // namespace MessageLoop
