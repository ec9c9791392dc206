#include "flat_draw.h"

#include <utility>

namespace tarvo {

void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF colour)
{
    RECT rect{x, y, x + cx, y + cy};
    // A rectangle that reaches back is filled as if its corners were swapped.
    if (rect.right < rect.left) std::swap(rect.left, rect.right);
    if (rect.bottom < rect.top) std::swap(rect.top, rect.bottom);
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    FillSolid(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, colour);
}

void Draw3dFrame(HDC dc, int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, x, y, cx - 1, 1, topLeft);
    FillSolid(dc, x, y, 1, cy - 1, topLeft);
    FillSolid(dc, x + cx, y, -1, cy, bottomRight);
    FillSolid(dc, x, y + cy, cx, -1, bottomRight);
}

void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dFrame(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, topLeft,
                bottomRight);
}

void DrawDoubleFrame(HDC dc, const RECT* r, int outerTL, int outerBR, int innerTL, int innerBR)
{
    const int cx = r->right - r->left;
    const int cy = r->bottom - r->top;
    Draw3dFrame(dc, r->left, r->top, cx, cy, GetSysColor(outerTL), GetSysColor(outerBR));
    Draw3dFrame(dc, r->left + 1, r->top + 1, cx - 2, cy - 2, GetSysColor(innerTL),
                GetSysColor(innerBR));
}

void DrawTripleFrame(HDC dc, const RECT* r, int outerTL, int outerBR, int middleTL, int middleBR,
                     int innerTL, int innerBR)
{
    DrawDoubleFrame(dc, r, outerTL, outerBR, middleTL, middleBR);
    Draw3dFrame(dc, r->left + 2, r->top + 2, r->right - r->left - 4, r->bottom - r->top - 4,
                GetSysColor(innerTL), GetSysColor(innerBR));
}

void PlotPixels(const int* offsets, int colourIndex, HDC dc, int x, int y)
{
    const COLORREF colour = GetSysColor(colourIndex);
    for (; offsets[0] != 0 || offsets[1] != 0; offsets += 2)
        SetPixel(dc, x + offsets[0], y + offsets[1], colour);
}

}  // namespace tarvo
