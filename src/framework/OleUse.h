#pragma once
// OLE on the program's thread, started the first time something needs it
// rather than at start-up: its libraries (ole32, and what they pull in) are
// loaded with their first call, and the main window shows without them.
// Needed by the rich text boxes (their clipboard), the imaging component and
// pictures of other kinds than BMP.
class OleUse {
public:
    // OLE started on this thread, once; false when it cannot be (the
    // callers then do without what needs it).
    static bool Begin();
    // Ends what Begin started; nothing when it never ran.
    static void End();

private:
    static inline bool s_begun = false;
    static inline bool s_usable = false;
};
