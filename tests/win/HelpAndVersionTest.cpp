// What ships with the program beside its windows: the help hook with its
// messages, F1, the version resource and the manifest.
#include <windows.h>

#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/CNotesApp.h"
#include "SkinWinTestUtil.h"
#include "WinTestUtil.h"

namespace {

// The real help hook with the viewer replaced: records what it was asked to
// open and answers as told.
class HelpRecordingApp : public CNotesApp {
public:
    std::vector<std::string> opened;
    bool viewerOpens = true;

protected:
    bool OpenHelpViewer(const std::string& path) override
    {
        opened.push_back(path);
        return viewerOpens;
    }
};

// Counts help requests instead of showing help.
class HelpCountingApp : public CNotesApp {
public:
    int requests = 0;
    void ShowHelp() override { ++requests; }
};

std::string VersionString(const std::vector<char>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "<none>";
    return std::string(value);
}

}  // namespace

TEST(Help, TheUserIsToldWhichHelpFileIsMissingOrUnreadable)
{
    TempFolder folder;
    CreateDirectoryA(folder.Path("folder.chm").c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(folder.Path("Velumo.chm"), {0x49, 0x54, 0x53, 0x46}));
    struct Case {
        const char* label;
        const char* file;
        bool viewerOpens;
        bool viewerAsked;
        const char* message;  // nullptr: no message
    } cases[] = {
        {"missing file", "missing.chm", true, false, CNotesApp::kHelpMissingMessage},
        {"a folder of that name", "folder.chm", true, false, CNotesApp::kHelpMissingMessage},
        {"viewer cannot show it", "Velumo.chm", false, true, CNotesApp::kHelpUnopenableMessage},
        {"viewer shows it", "Velumo.chm", true, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        HelpRecordingApp app;
        app.m_strHelpPath = folder.Path(c.file);
        app.viewerOpens = c.viewerOpens;
        std::vector<MessageBoxCloser::Seen> boxes;
        {
            MessageBoxCloser closer;
            app.ShowHelp();
            boxes = closer.Boxes();
        }
        if (c.viewerAsked) {
            ASSERT_EQ(app.opened.size(), 1u);
            EXPECT_EQ(app.opened[0], app.m_strHelpPath);
        } else {
            EXPECT_TRUE(app.opened.empty());
        }
        if (!c.message) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Velumo");
        EXPECT_EQ(boxes[0].text, std::string(c.message) + "\r\n\r\n" + app.m_strHelpPath);
    }
}

TEST(Help, TheBuiltHelpFileOpensInTheViewer)
{
    // The system's own viewer reads the file the build compiled: it opens its
    // window with the title from the help project, and no message is shown.
    std::string exe = VELUMO_EXE;
    CNotesApp app;
    app.m_strHelpPath = exe.substr(0, exe.rfind('.') + 1) + "chm";
    std::vector<MessageBoxCloser::Seen> boxes;
    HWND viewer = nullptr;
    {
        MessageBoxCloser closer;
        app.ShowHelp();
        PumpUntil([&] { return (viewer = FindWindowA(nullptr, "Velumo Help")) != nullptr; }, 5000);
        boxes = closer.Boxes();
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front().text;
    ASSERT_NE(viewer, nullptr);
    HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
    PumpUntil([&] { return !IsWindow(viewer); }, 5000);
    EXPECT_FALSE(IsWindow(viewer));
}

TEST(Help, PlainF1AnywhereAsksForHelp)
{
    HelpCountingApp app;
    HWND top = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, top, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    struct Case {
        const char* label;
        WPARAM key;
        int heldModifier;  // 0: none
        int requests;
    } cases[] = {
        {"F1", VK_F1, 0, 1},
        {"Shift+F1", VK_F1, VK_SHIFT, 0},
        {"Ctrl+F1", VK_F1, VK_CONTROL, 0},
        {"F2", VK_F2, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        BYTE keys[256] = {};
        if (c.heldModifier)
            keys[c.heldModifier] = 0x80;
        SetKeyboardState(keys);
        app.requests = 0;
        PostMessageA(edit, WM_KEYDOWN, c.key, 1);
        PumpUntil([] { return false; }, 50, true);
        EXPECT_EQ(app.requests, c.requests);
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
    DestroyWindow(top);
}

TEST(VersionResource, ReadBackFromTheProgram)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(VELUMO_EXE, &handle);
    ASSERT_GT(size, 0u) << VELUMO_EXE;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(VELUMO_EXE, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    struct Row {
        const char* name;
        const char* value;
    } rows[] = {
        {"CompanyName", "Tarkwen"},
        {"ProductName", "Velumo"},
        {"FileDescription", "Velumo desktop notes"},
        {"FileVersion", "2.00"},
        {"ProductVersion", "2.00"},
        {"OriginalFilename", "Velumo.exe"},
        {"LegalCopyright", "Copyright (C) 2026 Tarkwen"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(VersionString(info, row.name), row.value);
    }
}

TEST(Manifest, CommonControlsSixAndTheProgramsOwnManifest)
{
    // The tests carry the program's manifest: the list view and its check
    // boxes are drawn by the version 6 controls of the side-by-side assembly,
    // as in Velumo.exe (without the manifest the system's version 5 loads).
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
    std::string loaded(path);
    for (char& ch : loaded)
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0"), std::string::npos) << path;

    HMODULE exe = LoadLibraryExA(VELUMO_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "Velumo.exe has no manifest";
    const char* text = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    const std::string manifest(text, SizeofResource(exe, found));
    for (const char* needle : {"Microsoft.Windows.Common-Controls", "asInvoker",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
        SCOPED_TRACE(needle);
        EXPECT_NE(manifest.find(needle), std::string::npos);
    }
    FreeLibrary(exe);
}
