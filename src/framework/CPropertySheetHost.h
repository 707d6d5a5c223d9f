#pragma once
// A property sheet (the common controls' tabbed pages) embedded in a dialog
// as a child window: modeless, no Apply button, made a child as it is
// created, placed at the dialog's top-left corner, its own OK, Cancel and
// Help buttons removed and the sheet cut to the pages and tabs. The dialog
// around it keeps its own buttons and drives the pages.
#include <windows.h>

#include <string>
#include <vector>

class CPropertyPageBase;

class CPropertySheetHost {
public:
    // title: UTF-8.
    explicit CPropertySheetHost(std::string title) : m_title(std::move(title)) {}
    CPropertySheetHost(const CPropertySheetHost&) = delete;
    CPropertySheetHost& operator=(const CPropertySheetHost&) = delete;

    // Pages in tab order; before Create. The pages must outlive the sheet.
    void AddPage(CPropertyPageBase& page) { m_pages.push_back(&page); }

    // Makes the sheet inside parent and shows it; nullptr on failure. The
    // first page gets its window now, the others when their tabs are shown.
    HWND Create(HWND parent);
    HWND GetHwnd() const { return m_hWnd; }

    int GetActiveIndex() const;
    // Shows the page at index; false when the page being left refuses.
    bool SetActivePage(int index);

    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp turn the pages
    // while the focus is anywhere in the dialog. True when handled.
    bool TranslatePageKeys(const MSG& msg);

private:
    std::string m_title;
    std::vector<CPropertyPageBase*> m_pages;
    HWND m_hWnd = nullptr;
};
