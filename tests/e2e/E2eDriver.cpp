#include "E2eDriver.h"

#include "TestFiles.h"
#include "notes/Archive.h"
#include "core/UnicodeText.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>

namespace {

std::string g_programFolder;

struct FindArgs {
    DWORD pid;
    const std::function<bool(HWND)>* accept;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam)
{
    auto* args = reinterpret_cast<FindArgs*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != args->pid || !IsWindowVisible(hwnd) || !(*args->accept)(hwnd))
        return TRUE;
    args->found = hwnd;
    return FALSE;
}

}  // namespace

void E2eDriver::SetProgramFolder(const std::string& folder)
{
    g_programFolder = folder;
    for (auto& c : g_programFolder)
        if (c == '/')
            c = '\\';
}

E2eDriver::E2eDriver(bool copySkin) : m_folder("velumo-e2e")
{
    CopyProgram();
    if (copySkin)
        CopyTree(g_programFolder + "\\Skins", m_folder.Path("Skins"));
}

E2eDriver::~E2eDriver()
{
    Stop();  // before the folder goes, so the program's files are closed
}

bool E2eDriver::Start(const std::string& arguments)
{
    std::string commandLine = "\"" + ExePath() + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring wide = WideFromUtf8(commandLine);
    // A start that fails is tried twice more: under load, Wine may still be
    // letting go of the last program's files for a moment.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            Sleep(500);
            if (GetFileAttributesW(WideFromUtf8(ExePath()).c_str()) == INVALID_FILE_ATTRIBUTES)
                CopyProgram();
        }
        if (CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, WideFromUtf8(m_folder.Path()).c_str(), &si,
                           &m_pi))
            return true;
        std::fprintf(stderr, "starting %s failed: error %lu\n", commandLine.c_str(), GetLastError());
    }
    return false;
}

void E2eDriver::CopyProgram() const
{
    const std::wstring from = WideFromUtf8(g_programFolder + "\\Velumo.exe");
    const std::wstring to = WideFromUtf8(ExePath());
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (CopyFileW(from.c_str(), to.c_str(), FALSE))
            return;
        std::fprintf(stderr, "copying Velumo.exe to %s failed: error %lu\n", m_folder.Path().c_str(), GetLastError());
        Sleep(200);
    }
}

int E2eDriver::RunToEnd(const std::string& exe, const std::string& arguments, DWORD timeoutMs)
{
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring wide = WideFromUtf8(commandLine);
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    int code = -1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD exit = 0;
        GetExitCodeProcess(pi.hProcess, &exit);
        code = static_cast<int>(exit);
    } else {
        TerminateProcess(pi.hProcess, 99);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

HWND E2eDriver::WaitForWindow(const std::string& title, DWORD timeoutMs, const char* className) const
{
    return WaitForWindowWhere(
        [&](HWND hwnd) {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            return (title.empty() || WindowText(hwnd) == title) && (!className || std::string(cls) == className);
        },
        timeoutMs);
}

HWND E2eDriver::WaitForWindowWhere(const std::function<bool(HWND)>& accept, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    do {
        FindArgs args{m_pi.dwProcessId, &accept, nullptr};
        EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&args));
        if (args.found)
            return args.found;
        if (!IsRunning())
            return nullptr;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND E2eDriver::StartOn(const std::vector<uint8_t>& notesFile, DWORD timeoutMs)
{
    if (!WriteFile("notes.dat", notesFile) || !Start())
        return nullptr;
    return WaitForWindow("Velumo", timeoutMs, "#32770");
}

HWND E2eDriver::StartWithNote(const std::u16string& text, const NoteRect& place)
{
    CNoteList stored;
    auto note = std::make_unique<CNote>();
    note->m_strText = text;
    note->m_bVisible = 1;
    note->m_rcWindow = place;
    stored.Add(note);
    if (!StartOn(stored.StoreToBytes()))
        return nullptr;
    return WaitForNoteWindow(10000);
}

HWND E2eDriver::WaitForNoteWindow(DWORD timeoutMs) const
{
    const HWND window = WaitForWindow("", timeoutMs, "VelumoNoteWnd");
    return window && WaitFor([&] { return NoteEdit(window) != nullptr; }, 3000) ? window : nullptr;
}

HWND E2eDriver::NoteEdit(HWND note)
{
    return GetDlgItem(note, 1016);  // IDC_NOTE_EDIT
}

std::string E2eDriver::WindowText(HWND hwnd)
{
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return Utf8FromWide(text);
}

std::u16string E2eDriver::ControlText(HWND control)
{
    // Asked for explicitly: the system does not fetch the text of another
    // program's control by itself.
    const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::u16string(text.data(), text.data() + wcslen(text.data()));
}

std::string E2eDriver::MessageBoxText(HWND box)
{
    // The message is the static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::string();
}

std::vector<HWND> E2eDriver::VisibleBalloons()
{
    std::vector<HWND> tips;
    EnumWindows(
        [](HWND hwnd, LPARAM out) {
            char cls[32] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(hwnd) &&
                (GetWindowLongPtrA(hwnd, GWL_STYLE) & TTS_BALLOON))
                reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    return tips;
}

void E2eDriver::Dismiss(HWND box)
{
    for (int id : {IDOK, IDCANCEL, IDYES}) {
        if (HWND button = GetDlgItem(box, id)) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            return;
        }
    }
    PostMessageA(box, WM_CLOSE, 0, 0);
}

bool E2eDriver::WaitForExit(DWORD timeoutMs)
{
    return !m_pi.hProcess || WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool E2eDriver::IsRunning() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD E2eDriver::ExitCode() const
{
    DWORD code = m_exitCode;
    if (m_pi.hProcess)
        GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void E2eDriver::Stop()
{
    if (!m_pi.hProcess)
        return;
    if (IsRunning()) {
        if (HWND main = WaitForWindow("Velumo", 100))
            PostMessageA(main, WM_CLOSE, 0, 0);
        if (!WaitForExit(10000))
            TerminateProcess(m_pi.hProcess, 98);
        WaitForExit(5000);
    }
    GetExitCodeProcess(m_pi.hProcess, &m_exitCode);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
    m_pi = {};
}

bool E2eDriver::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    return WriteWholeFile(PathOf(name), bytes);
}

std::vector<uint8_t> E2eDriver::ReadFile(const std::string& name) const
{
    return ReadWholeFile(PathOf(name));
}

bool E2eDriver::FileExists(const std::string& name) const
{
    return GetFileAttributesW(WideFromUtf8(PathOf(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

FILETIME E2eDriver::LastWrite(const std::string& name) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(WideFromUtf8(PathOf(name)).c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

namespace {

// Memory inside another process, for list-view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : m_process(process),
          m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteBuffer()
    {
        if (m_address)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* Address() const { return static_cast<char*>(m_address); }
    bool Write(size_t offset, const void* data, size_t size) const
    {
        return WriteProcessMemory(m_process, Address() + offset, data, size, nullptr) != 0;
    }
    bool Read(size_t offset, void* data, size_t size) const
    {
        return ReadProcessMemory(m_process, Address() + offset, data, size, nullptr) != 0;
    }

private:
    HANDLE m_process;
    void* m_address;
};

constexpr size_t kTextOffset = 256;
constexpr size_t kTextSize = 4096;

}  // namespace

std::vector<E2eDriver::Row> E2eDriver::ReadRows(HWND list) const
{
    std::vector<Row> rows;
    RemoteBuffer remote(m_pi.hProcess, kTextOffset + kTextSize);
    if (!remote.Address())
        return rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        Row row;
        for (int column = 0; column < 4; ++column) {
            LVITEMA item{};
            item.mask = LVIF_IMAGE | LVIF_TEXT | LVIF_STATE;
            item.iItem = i;
            item.iSubItem = column;
            item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED;
            item.pszText = remote.Address() + kTextOffset;
            item.cchTextMax = static_cast<int>(kTextSize);
            remote.Write(0, &item, sizeof item);
            SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()));
            remote.Read(0, &item, sizeof item);
            switch (column) {
            case 0:
                row.checked = ((item.state & LVIS_STATEIMAGEMASK) >> 12) == 2;
                row.selected = (item.state & LVIS_SELECTED) != 0;
                break;
            case 1: row.visImage = item.iImage; break;
            case 2: row.schdImage = item.iImage; break;
            case 3: {
                std::vector<char> text(kTextSize, '\0');
                remote.Read(kTextOffset, text.data(), kTextSize - 1);
                row.text = text.data();
                break;
            }
            }
        }
        rows.push_back(row);
    }
    return rows;
}

bool E2eDriver::SelectRow(HWND list, int row, bool selected) const
{
    RemoteBuffer remote(m_pi.hProcess, sizeof(LVITEMA));
    if (!remote.Address())
        return false;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    remote.Write(0, &item, sizeof item);
    return SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.Address())) != 0;
}

bool E2eDriver::ClickChildAt(HWND parent, int x, int y, bool wait)
{
    POINT pt{x, y};
    HWND child = ChildWindowFromPointEx(parent, pt, CWP_SKIPINVISIBLE);
    if (!child || child == parent)
        return false;
    MapWindowPoints(parent, child, &pt, 1);
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    if (!wait)
        return PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageA(child, WM_LBUTTONUP, 0, at);
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(child, WM_LBUTTONUP, 0, at);
    return true;
}

LRESULT E2eDriver::SendWithData(HWND hwnd, UINT msg, WPARAM wParam, void* data, size_t size) const
{
    RemoteBuffer remote(m_pi.hProcess, size);
    if (!remote.Address() || !remote.Write(0, data, size))
        return 0;
    const LRESULT result = SendMessageA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, data, size);
    return result;
}

std::unique_ptr<CNoteList> ParseNotes(const std::vector<uint8_t>& bytes)
{
    auto list = std::make_unique<CNoteList>();
    try {
        CArchive ar(bytes);
        list->Serialize(ar);
    } catch (const ArchiveError&) {
        return nullptr;
    }
    return list;
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> input(keys.size() * 2);
    size_t i = 0;
    for (WORD key : keys) {
        INPUT& down = input[i];
        INPUT& up = input[input.size() - 1 - i];
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wVk = up.ki.wVk = key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        ++i;
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void ClickAt(POINT at, bool rightButton)
{
    SetCursorPos(at.x, at.y);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
}

bool IsOnTopAt(HWND window, POINT at)
{
    HWND under = WindowFromPoint(at);
    return under && GetAncestor(under, GA_ROOT) == window;
}

bool ClickToFront(HWND window, POINT at)
{
    WaitFor([&] { return IsOnTopAt(window, at); }, 3000);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ClickAt(at);
        if (WaitForPumping([&] { return GetForegroundWindow() == window; }, 3000))
            return true;
    }
    return false;
}

HWND VisibleMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

bool OpenMenuAt(HWND window, POINT at)
{
    if (!WaitFor([&] { return IsOnTopAt(window, at); }, 5000))
        return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ClickAt(at, true);
        if (WaitFor([] { return VisibleMenu() != nullptr; }, 3000))
            return true;
    }
    return false;
}
