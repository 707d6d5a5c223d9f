// This installation's id in the user's registry: made once, then kept; a
// value that is no id is replaced. Velumo.ini beside the program plays no
// part: two copies run from one folder must be two installations.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/InstallationId.h"
#include "notes/NoteIdText.h"
#include "settings/CRegistry.h"

namespace {

constexpr const char* kTestKey = "Software\\Velumo\\Tests\\InstallationId";

std::string Stored()
{
    CRegistry key;
    key.Open(kTestKey);
    std::string value;
    key.QueryString(InstallationIdKeys::kValue, value);
    return value;
}

}  // namespace

TEST(InstallationId, MadeOnceKeptAndReplacedWhenOdd)
{
    struct Case {
        const char* label;
        const char* stored;  // null: no such value
        bool kept;
    } cases[] = {
        {"no value: made", nullptr, false},
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
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Velumo\\Tests\\InstallationId");
        if (c.stored) {
            CRegistry key;
            key.Open(kTestKey);
            ASSERT_EQ(key.SetString(InstallationIdKeys::kValue, c.stored), ERROR_SUCCESS);
        }

        const NoteId first = ReadInstallationId(kTestKey);
        EXPECT_EQ(NoteIdFromText(Stored()), first) << "the id in use is the one in the registry";
        if (c.kept) {
            EXPECT_EQ(first, NoteIdFromText(c.stored));
        } else {
            EXPECT_FALSE(first.IsNull());
            EXPECT_TRUE(made.insert(Stored()).second) << "every installation makes its own";
        }
        EXPECT_EQ(ReadInstallationId(kTestKey), first) << "made once: the next start keeps it";
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Velumo\\Tests\\InstallationId");
}
