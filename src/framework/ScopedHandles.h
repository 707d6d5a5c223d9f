#pragma once
// RAII owners for GDI and USER handles. One move-only owner template; a
// handle handed to the system (a window region) is let go with Release().
#include <windows.h>

#include <utility>

template <typename H, BOOL(WINAPI* Deleter)(H)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : m_h(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H Get() const { return m_h; }
    operator H() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    // Gives up ownership: the caller (or the system) now owns the handle.
    H Release() { return std::exchange(m_h, nullptr); }
    void Reset(H h = nullptr)
    {
        if (m_h)
            Deleter(m_h);
        m_h = h;
    }

private:
    H m_h = nullptr;
};

namespace detail {
template <typename T>
BOOL WINAPI DeleteTyped(T h) { return DeleteObject(h); }
}  // namespace detail

using UniqueBrush = UniqueHandle<HBRUSH, detail::DeleteTyped<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, detail::DeleteTyped<HPEN>>;
using UniqueFont = UniqueHandle<HFONT, detail::DeleteTyped<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, detail::DeleteTyped<HBITMAP>>;
using UniqueRegion = UniqueHandle<HRGN, detail::DeleteTyped<HRGN>>;
using UniqueMemDC = UniqueHandle<HDC, DeleteDC>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;

// GetDC/ReleaseDC for one scope.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~ScopedGetDC()
    {
        if (m_dc)
            ReleaseDC(m_hwnd, m_dc);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint/EndPaint for one scope.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : m_hwnd(hwnd) { m_dc = BeginPaint(hwnd, &m_ps); }
    ~ScopedPaint() { EndPaint(m_hwnd, &m_ps); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    operator HDC() const { return m_dc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc;
};

// SelectObject that puts the old object back at the end of the scope.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
