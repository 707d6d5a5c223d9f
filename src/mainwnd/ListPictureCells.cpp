#include "mainwnd/ListPictureCells.h"

void ListPictureCells::Use(HIMAGELIST images)
{
    if (m_dc && m_oldBitmap)
        SelectObject(m_dc, m_oldBitmap);
    m_oldBitmap = nullptr;
    m_dc.Reset();
    m_strip.Reset();
    m_paper = CLR_INVALID;
    m_images = images;
    m_count = images ? ImageList_GetImageCount(images) : 0;
    int width = 0, height = 0;
    if (images)
        ImageList_GetIconSize(images, &width, &height);
    m_image = SIZE{width, height};
}

bool ListPictureCells::Compose(HDC like)
{
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    if (m_dc && paper == m_paper)
        return true;
    if (!m_images || m_count <= 0 || m_image.cx <= 0 || m_image.cy <= 0)
        return false;
    if (!m_dc) {
        m_dc.Reset(CreateCompatibleDC(like));
        m_strip.Reset(CreateCompatibleBitmap(like, m_image.cx * m_count, m_image.cy));
        if (!m_dc || !m_strip) {
            m_dc.Reset();
            return false;
        }
        m_oldBitmap = SelectObject(m_dc, m_strip);
    }
    const RECT all{0, 0, m_image.cx * m_count, m_image.cy};
    FillRect(m_dc, &all, GetSysColorBrush(COLOR_WINDOW));
    for (int i = 0; i < m_count; ++i)
        ImageList_Draw(m_images, i, m_dc, i * m_image.cx, 0, ILD_NORMAL);
    m_paper = paper;
    return true;
}

void ListPictureCells::Draw(HDC dc, int image, POINT at, const RECT& cell, bool fill)
{
    if (fill)
        FillRect(dc, &cell, GetSysColorBrush(COLOR_WINDOW));
    RECT shown{at.x, at.y, at.x + m_image.cx, at.y + m_image.cy};
    // The pictures are wider than their columns.
    if (image < 0 || image >= m_count || !IntersectRect(&shown, &shown, &cell) || !Compose(dc))
        return;
    BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, m_dc,
           image * m_image.cx + (shown.left - at.x), shown.top - at.y, SRCCOPY);
}
