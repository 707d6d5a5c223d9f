// This installation's id in Velumo.ini: made once, then kept; a value that
// is no id is replaced.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "app/InstallationId.h"
#include "notes/NoteIdText.h"

TEST(InstallationId, MadeOnceKeptAndReplacedWhenOdd)
{
    struct Case {
        const char* label;
        const char* stored;  // null: no such key
        bool kept;
    } cases[] = {
        {"no key: made", nullptr, false},
        {"32 hexadecimal digits, either case: kept", "0123456789abcdefFEDCBA9876543210", true},
        {"31 digits", "0123456789ABCDEF0123456789ABCDE", false},
        {"33 digits", "0123456789ABCDEF0123456789ABCDEF0", false},
        {"not hexadecimal", "0123456789ABCDEF0123456789ABCDEG", false},
        {"all zero", "00000000000000000000000000000000", false},
        {"empty", "", false},
    };
    std::set<std::string> made;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        CNotesApp app;
        app.SetProfileFile(folder.Path("Velumo.ini"));
        if (c.stored) {
            ASSERT_TRUE(app.WriteProfileString(InstallationIdKeys::kSection, InstallationIdKeys::kKey, c.stored));
        }

        const NoteId first = ReadInstallationId(app);
        const std::string inFile = app.GetProfileString(InstallationIdKeys::kSection, InstallationIdKeys::kKey);
        EXPECT_EQ(NoteIdFromText(inFile), first) << "the id in use is the one in the file";
        if (c.kept) {
            EXPECT_EQ(first, NoteIdFromText(c.stored));
        } else {
            EXPECT_FALSE(first.IsNull());
            EXPECT_TRUE(made.insert(inFile).second) << "every installation makes its own";
        }
        EXPECT_EQ(ReadInstallationId(app), first) << "made once: the next start keeps it";
    }
}
