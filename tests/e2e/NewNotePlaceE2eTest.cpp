// New notes of the real program: a restart over the same notes file does not
// put its first new note where the last run put its own.
#include <gtest/gtest.h>

#include "E2eDriver.h"

namespace {

constexpr int kAddNote = 32785;
const std::vector<uint8_t> kEmptyFile{0x00, 0x01, 0x00, 0x00, 0x00, 0x00};

}  // namespace

TEST(NewNotePlaceE2e, FirstNewNoteAfterARestartLandsElsewhere)
{
    E2eDriver app;
    std::vector<NoteRect> firstPlaces;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        // Both runs start from the same file, as after deleting the note.
        ASSERT_TRUE(app.WriteFile("notes.dat", kEmptyFile));
        ASSERT_TRUE(app.Start());
        HWND main = app.WaitForWindow("Velumo", 15000, "#32770");
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_COMMAND, kAddNote, 0);
        ASSERT_TRUE(WaitFor([&] { return app.ReadRows(GetDlgItem(main, 1000)).size() == 1; }, 5000));
        app.Stop();
        const auto notes = ParseNotes(app.ReadFile("notes.dat"));
        ASSERT_NE(notes, nullptr);
        ASSERT_EQ(notes->m_nCount, 1);
        firstPlaces.push_back(notes->GetAt(0)->m_rcWindow);
    }
    EXPECT_NE(firstPlaces[0], firstPlaces[1]) << firstPlaces[0].left << "," << firstPlaces[0].top;
}
