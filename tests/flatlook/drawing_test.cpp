// The shared drawing functions, on a memory bitmap.
#include "palette.h"

#include "flatlook/flat_draw.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace flattest {
namespace {

constexpr COLORREF kBlank = RGB(1, 2, 3);
constexpr COLORREF kA = RGB(200, 0, 0);
constexpr COLORREF kB = RGB(0, 0, 200);

// A 32 x 24 bitmap in a memory DC, filled with kBlank; Row() spells
// pixels as letters: '.' blank, 'a' kA, 'b' kB, and the test palette's
// colours (set for the whole test run) by their initials.
class Canvas {
public:
    Canvas()
    {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        tarvo::FillSolid(dc_, 0, 0, kWidth, kHeight, kBlank);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    std::string Row(int y, int x0 = 0, int x1 = 12) const
    {
        std::string row;
        for (int x = x0; x < x1; ++x) row += Letter(GetPixel(dc_, x, y));
        return row;
    }
    static constexpr int kWidth = 32;
    static constexpr int kHeight = 24;

private:
    static char Letter(COLORREF colour)
    {
        if (colour == kBlank) return '.';
        if (colour == kA) return 'a';
        if (colour == kB) return 'b';
        if (colour == Palette::kBtnHighlight) return 'H';
        if (colour == Palette::kBtnShadow) return 'S';
        if (colour == Palette::k3dDkShadow) return 'D';
        if (colour == Palette::k3dLight) return 'L';
        if (colour == Palette::kBtnFace) return 'F';
        if (colour == Palette::kWindow) return 'W';
        return '?';
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST(FillSolid, FillsForwardAndBackward)
{
    Canvas canvas;
    tarvo::FillSolid(canvas.dc(), 2, 1, 3, 2, kA);
    EXPECT_EQ("..aaa.......", canvas.Row(1));
    EXPECT_EQ("..aaa.......", canvas.Row(2));
    EXPECT_EQ("............", canvas.Row(3));
    // A negative extent reaches back from x (and y): columns 7 and 8, row 4.
    tarvo::FillSolid(canvas.dc(), 9, 5, -2, -1, kB);
    EXPECT_EQ(".......bb...", canvas.Row(4));
    EXPECT_EQ("............", canvas.Row(5));
    tarvo::FillSolid(canvas.dc(), RECT{0, 6, 2, 7}, kA);
    EXPECT_EQ("aa..........", canvas.Row(6));
}

TEST(Draw3dFrame, TopLeftStopsShortOfTheCorners)
{
    Canvas canvas;
    tarvo::Draw3dFrame(canvas.dc(), 1, 1, 6, 5, kA, kB);
    EXPECT_EQ(".aaaaab.", canvas.Row(1, 0, 8));
    EXPECT_EQ(".a....b.", canvas.Row(2, 0, 8));
    EXPECT_EQ(".a....b.", canvas.Row(4, 0, 8));
    EXPECT_EQ(".bbbbbb.", canvas.Row(5, 0, 8));
    EXPECT_EQ("........", canvas.Row(6, 0, 8));
}

TEST(DrawDoubleFrame, InnerOutlineInsetByOne)
{
    Canvas canvas;
    const RECT r{0, 0, 8, 6};
    tarvo::DrawDoubleFrame(canvas.dc(), &r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    EXPECT_EQ("SSSSSSSH.", canvas.Row(0, 0, 9));
    EXPECT_EQ("SDDDDDLH.", canvas.Row(1, 0, 9));
    EXPECT_EQ("SD....LH.", canvas.Row(2, 0, 9));
    EXPECT_EQ("SLLLLLLH.", canvas.Row(4, 0, 9));
    EXPECT_EQ("HHHHHHHH.", canvas.Row(5, 0, 9));
}

TEST(DrawTripleFrame, ThirdOutlineInsetByTwo)
{
    Canvas canvas;
    const RECT r{0, 0, 8, 7};
    tarvo::DrawTripleFrame(canvas.dc(), &r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                           COLOR_BTNSHADOW, COLOR_WINDOW, COLOR_BTNFACE);
    EXPECT_EQ("HHHHHHHD", canvas.Row(0, 0, 8));
    EXPECT_EQ("HLLLLLSD", canvas.Row(1, 0, 8));
    EXPECT_EQ("HLWWWFSD", canvas.Row(2, 0, 8));
    EXPECT_EQ("HLW..FSD", canvas.Row(3, 0, 8));
    EXPECT_EQ("HLFFFFSD", canvas.Row(4, 0, 8));
    EXPECT_EQ("HSSSSSSD", canvas.Row(5, 0, 8));
    EXPECT_EQ("DDDDDDDD", canvas.Row(6, 0, 8));
}

TEST(PlotPixels, StopsAtTheZeroPair)
{
    Canvas canvas;
    const int offsets[] = {1, 0, 3, 2, 0, 1, 0, 0, 5, 5};
    tarvo::PlotPixels(offsets, COLOR_BTNSHADOW, canvas.dc(), 2, 3);
    EXPECT_EQ("...S....", canvas.Row(3, 0, 8));
    EXPECT_EQ("..S.....", canvas.Row(4, 0, 8));
    EXPECT_EQ(".....S..", canvas.Row(5, 0, 8));
    EXPECT_EQ("........", canvas.Row(8, 0, 8));  // (5, 5) lies past the end
    EXPECT_EQ('.', canvas.Row(3, 2, 3)[0]);     // the origin itself is not set
}

}  // namespace
}  // namespace flattest
