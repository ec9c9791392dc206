// The small drawing functions every flat painter shares. Lines and
// rectangles are filled with an opaque ExtTextOutW in the background colour,
// so no brush or pen is created for them. Colours given as `int` are system
// colour indexes (COLOR_BTNFACE, ...), read with GetSysColor on every call.
#pragma once

#include <windows.h>

namespace tarvo {

// Fills (x, y, x + cx, y + cy). A negative cx or cy makes the rectangle reach
// back from x or y.
void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF colour);
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// A one-pixel outline: the top row and the left column, each without its
// last pixel, in `topLeft`; the whole right column and bottom row in
// `bottomRight`.
void Draw3dFrame(HDC dc, int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

// Two nested outlines: `r` in the outer pair, r inset by 1 in the inner pair.
void DrawDoubleFrame(HDC dc, const RECT* r, int outerTL, int outerBR, int innerTL, int innerBR);
// Three nested outlines: as DrawDoubleFrame, plus r inset by 2 in the third pair.
void DrawTripleFrame(HDC dc, const RECT* r, int outerTL, int outerBR, int middleTL, int middleBR,
                     int innerTL, int innerBR);

// Sets the pixel (x + dx, y + dy) for every pair of `offsets` up to the
// terminating pair (0, 0).
void PlotPixels(const int* offsets, int colourIndex, HDC dc, int x, int y);

}  // namespace tarvo
