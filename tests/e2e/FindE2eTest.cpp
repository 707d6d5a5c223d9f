// Find over the fullest notes file, typed with the real keyboard: the rows
// narrow with each key and come back with each Backspace and with Escape.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "E2eDriver.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"

TEST(FindE2e, TypedIntoAFullListTheRowsNarrowAndComeBack)
{
    // Every note holds "note"; one in a hundred "zebra", one in ten thousand
    // "zeal": "z" and "ze" keep 328 rows, "zea" 4.
    CNoteList stored;
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        std::string text = "note " + std::to_string(i);
        if (i % 100 == 0)
            text += " zebra";
        if (i % 10000 == 0)
            text += " zeal";
        note->m_strText = Utf16FromUtf8(text);
        note->m_bVisible = 0;
        stored.Add(note);
    }
    E2eDriver app;
    ASSERT_TRUE(app.WriteFile("notes.dat", stored.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    const HWND main = app.WaitForWindow("Velumo", 20000, "#32770");
    ASSERT_NE(main, nullptr);
    const HWND list = GetDlgItem(main, 1000);
    const auto rows = [&] { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); };
    ASSERT_TRUE(WaitFor([&] { return rows() == CNoteList::kMaxNotes; }, 10000)) << rows();

    // A click in the list gives the window the keyboard; Ctrl+F the box.
    RECT rc{};
    GetWindowRect(list, &rc);
    ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 3000));
    PressKeys({VK_CONTROL, 'F'});
    ASSERT_TRUE(WaitFor([&] { return GetDlgItem(main, 3300) != nullptr; }, 3000));

    struct Key {
        WORD key;
        int rowsAfter;
    };
    const Key keys[] = {{'Z', 328}, {'E', 328}, {'A', 4}, {VK_BACK, 328}, {VK_BACK, 328}, {VK_BACK, 32767},
                        {'Z', 328}, {VK_ESCAPE, 32767}};
    for (const Key& k : keys) {
        SCOPED_TRACE(k.key);
        PressKeys({k.key});
        EXPECT_TRUE(WaitFor([&] { return rows() == k.rowsAfter; }, 5000)) << rows();
    }
    EXPECT_EQ(GetDlgItem(main, 3300), nullptr) << "Escape closed the box";
    app.Stop();
}
