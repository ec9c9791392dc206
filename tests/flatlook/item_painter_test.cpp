// Painted pixels of tab controls on all four sides and of trackbars in every
// orientation, read back from their client DCs; a header item outside its
// parent's client area.
#include "ui_support.h"

#include "flatlook/flat_look_inspector.h"

#include <commctrl.h>

#include <algorithm>

namespace flattest {
namespace {

enum : WORD {
    I_SINK = 1,
    I_TAB_TOP,
    I_TAB_BOTTOM,
    I_TAB_LEFT,
    I_TAB_RIGHT,
    I_TAB_BUTTONS,
    I_TRACK,
    I_TRACK_TOP,
    I_TRACK_BOTH,
    I_TRACK_NOTHUMB,
    I_TRACK_VERT,
    I_TRACK_VERT_LEFT,
    I_TRACK_VERT_BOTH,
};

DialogTemplate ItemTemplate()
{
    DialogTemplate t(WS_POPUP | WS_CAPTION, 0, 0, 420, 260, L"Items");
    t.Add(L"Edit", nullptr, I_SINK, WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(WC_TABCONTROLW, nullptr, I_TAB_TOP, 0, 0, 0, 0, 10, 10)
        .Add(WC_TABCONTROLW, nullptr, I_TAB_BOTTOM, TCS_BOTTOM, 0, 0, 0, 10, 10)
        .Add(WC_TABCONTROLW, nullptr, I_TAB_LEFT, TCS_VERTICAL | TCS_MULTILINE, 0, 0, 0, 10, 10)
        .Add(WC_TABCONTROLW, nullptr, I_TAB_RIGHT, TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, 0, 0, 0, 10, 10)
        .Add(WC_TABCONTROLW, nullptr, I_TAB_BUTTONS, TCS_BUTTONS, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK, TBS_AUTOTICKS | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK_TOP, TBS_TOP | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK_BOTH, TBS_BOTH | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK_NOTHUMB, TBS_NOTHUMB | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK_VERT, TBS_VERT | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK_VERT_LEFT, TBS_VERT | TBS_LEFT | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(TRACKBAR_CLASSW, nullptr, I_TRACK_VERT_BOTH, TBS_VERT | TBS_BOTH | WS_TABSTOP, 0, 0, 0, 10, 10);
    return t;
}

RECT TabRect(HWND tab, int index)
{
    RECT rect{};
    SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// The body of a tab control: its display area, enlarged by 4 on every side.
RECT TabBody(HWND tab)
{
    RECT body{};
    GetClientRect(tab, &body);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
    InflateRect(&body, 4, 4);
    return body;
}

class ItemPainters : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dialog_ = new TestDialog(ItemTemplate(), 20, 20);
        TestDialog& d = *dialog_;
        SetWindowPos(d.hwnd(), nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        d.Place(I_SINK, 580, 10, 40, 20);
        d.Place(I_TAB_TOP, 10, 10, 200, 100);
        d.Place(I_TAB_BOTTOM, 220, 10, 200, 100);
        d.Place(I_TAB_LEFT, 10, 120, 200, 120);
        d.Place(I_TAB_RIGHT, 220, 120, 200, 120);
        d.Place(I_TAB_BUTTONS, 430, 10, 180, 30);
        d.Place(I_TRACK, 10, 250, 150, 32);
        d.Place(I_TRACK_TOP, 170, 250, 150, 32);
        d.Place(I_TRACK_BOTH, 330, 250, 150, 32);
        d.Place(I_TRACK_NOTHUMB, 10, 300, 150, 32);
        d.Place(I_TRACK_VERT, 440, 120, 32, 130);
        d.Place(I_TRACK_VERT_LEFT, 490, 120, 32, 130);
        d.Place(I_TRACK_VERT_BOTH, 540, 120, 32, 130);
        for (int id : {I_TAB_TOP, I_TAB_BOTTOM, I_TAB_LEFT, I_TAB_RIGHT, I_TAB_BUTTONS}) {
            for (int i = 0; i < 3; ++i) {
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<wchar_t*>(i == 0 ? L"One" : i == 1 ? L"Two" : L"Three");
                SendDlgItemMessageW(d.hwnd(), id, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
            SendDlgItemMessageW(d.hwnd(), id, TCM_SETCURSEL, 1, 0);
        }
        for (int id = I_TRACK; id <= I_TRACK_VERT_BOTH; ++id) {
            SendDlgItemMessageW(d.hwnd(), id, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
            SendDlgItemMessageW(d.hwnd(), id, TBM_SETPOS, TRUE, 5);
        }
    }
    static void TearDownTestSuite()
    {
        delete dialog_;
        dialog_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(ParkPointer());
        SetFocus(Item(I_SINK));
        Repaint(dialog_->hwnd());
    }
    static HWND Item(int id) { return dialog_->Item(id); }
    static void Select(HWND tab, int index)
    {
        SendMessageW(tab, TCM_SETCURSEL, index, 0);
        Repaint(tab);
    }
    static TestDialog* dialog_;
};

TestDialog* ItemPainters::dialog_ = nullptr;

// ---- Tab controls ----------------------------------------------------------------

TEST_F(ItemPainters, TopTabSelectedEdgesReachTwoPixelsBeyondIt)
{
    const HWND tab = Item(I_TAB_TOP);
    const RECT s = TabRect(tab, 1);
    EXPECT_TRUE(ClientPixelIs(tab, s.left - 2, s.top + 3, COLOR_BTNHIGHLIGHT));   // leading, outer
    EXPECT_TRUE(ClientPixelIs(tab, s.left - 1, s.top + 3, COLOR_BTNFACE));        // leading, inner
    EXPECT_TRUE(ClientPixelIs(tab, s.left - 1, s.top - 1, COLOR_BTNHIGHLIGHT));   // corner
    EXPECT_TRUE(ClientPixelIs(tab, s.left + 5, s.top - 2, COLOR_BTNHIGHLIGHT));   // middle, outer
    EXPECT_TRUE(ClientPixelIs(tab, s.left + 5, s.top - 1, COLOR_BTNFACE));        // middle, inner
    EXPECT_TRUE(ClientPixelIs(tab, s.right + 1, s.top + 3, COLOR_BTNSHADOW));     // trailing, outer
    EXPECT_TRUE(ClientPixelIs(tab, s.right, s.top + 3, COLOR_BTNFACE));           // trailing, inner
    EXPECT_TRUE(ClientPixelIs(tab, s.right, s.top - 1, COLOR_BTNSHADOW));         // corner

    // An unselected tab: its own rectangle.
    const RECT third = TabRect(tab, 2);
    EXPECT_TRUE(ClientPixelIs(tab, third.left + 5, third.top, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(tab, third.right - 1, third.top + 4, COLOR_BTNSHADOW));

    // The body: shadow lines at the bottom and the right, the control's own
    // inner edge line painted over in the face colour.
    RECT body = TabBody(tab);
    body.top += 2;
    EXPECT_TRUE(ClientPixelIs(tab, body.left + 10, body.bottom - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(tab, body.right - 1, body.top + 10, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(tab, body.left + 1, body.top + 10, COLOR_BTNFACE));
    EXPECT_TRUE(ClientPixelIs(tab, body.right - 2, body.top + 10, COLOR_BTNFACE));
    EXPECT_TRUE(ClientPixelIs(tab, body.left + 10, body.bottom - 2, COLOR_BTNFACE));
}

TEST_F(ItemPainters, FirstTabColumnIsClearedUnlessTheFirstTabIsSelected)
{
    const HWND tab = Item(I_TAB_TOP);
    const RECT first = TabRect(tab, 0);
    ASSERT_GE(first.left - 2, 0);
    ASSERT_LE(first.left - 2, 1);
    Select(tab, 0);
    EXPECT_TRUE(ClientPixelIs(tab, first.left - 2, first.top + 3, COLOR_BTNHIGHLIGHT));
    Select(tab, 1);
    EXPECT_TRUE(ClientPixelIs(tab, first.left - 2, first.top + 3, COLOR_BTNFACE));
}

TEST_F(ItemPainters, SelectedTabStandsOutOnEverySide)
{
    const HWND bottom = Item(I_TAB_BOTTOM);
    const RECT b = TabRect(bottom, 1);
    EXPECT_TRUE(ClientPixelIs(bottom, b.left + 5, b.bottom + 1, COLOR_BTNSHADOW));   // middle, dark outer
    EXPECT_TRUE(ClientPixelIs(bottom, b.left + 5, b.bottom, COLOR_BTNFACE));
    EXPECT_TRUE(ClientPixelIs(bottom, b.left - 2, b.top + 3, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(bottom, b.right + 1, b.top + 3, COLOR_BTNSHADOW));

    const HWND left = Item(I_TAB_LEFT);
    const RECT l = TabRect(left, 1);
    EXPECT_TRUE(ClientPixelIs(left, l.left - 2, l.top + 5, COLOR_BTNHIGHLIGHT));      // middle, light outer
    EXPECT_TRUE(ClientPixelIs(left, l.left - 1, l.top + 5, COLOR_BTNFACE));
    EXPECT_TRUE(ClientPixelIs(left, l.left + 3, l.top - 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(left, l.left + 3, l.bottom + 1, COLOR_BTNSHADOW));

    const HWND right = Item(I_TAB_RIGHT);
    const RECT r = TabRect(right, 1);
    EXPECT_TRUE(ClientPixelIs(right, r.right + 1, r.top + 5, COLOR_BTNSHADOW));      // middle, dark outer
    EXPECT_TRUE(ClientPixelIs(right, r.right, r.top + 5, COLOR_BTNFACE));
    EXPECT_TRUE(ClientPixelIs(right, r.left + 3, r.top - 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(right, r.left + 3, r.bottom + 1, COLOR_BTNSHADOW));
}

TEST_F(ItemPainters, BodyLineIsOpenAtTheSelectedTabAndWholeWithoutOne)
{
    const HWND bottom = Item(I_TAB_BOTTOM);
    const RECT b = TabRect(bottom, 1);
    RECT body = TabBody(bottom);
    body.bottom -= 2;
    EXPECT_TRUE(ClientPixelIs(bottom, body.left + 2, body.bottom - 1, COLOR_BTNSHADOW));
    EXPECT_FALSE(ClientPixelIs(bottom, b.left + 5, body.bottom - 1, COLOR_BTNSHADOW));

    const HWND right = Item(I_TAB_RIGHT);
    const RECT r = TabRect(right, 1);
    RECT rightBody = TabBody(right);
    rightBody.right -= 2;
    EXPECT_TRUE(ClientPixelIs(right, rightBody.right - 1, rightBody.bottom - 3, COLOR_BTNSHADOW));
    EXPECT_FALSE(ClientPixelIs(right, rightBody.right - 1, r.top + 5, COLOR_BTNSHADOW));

    // No tab selected: the lines are whole and no tab stands out.
    Select(bottom, -1);
    Select(right, -1);
    EXPECT_TRUE(ClientPixelIs(bottom, b.left + 5, body.bottom - 1, COLOR_BTNSHADOW));
    EXPECT_FALSE(ClientPixelIs(bottom, b.left + 5, b.bottom + 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(bottom, b.left + 5, b.bottom - 1, COLOR_BTNSHADOW));  // drawn as a plain tab
    EXPECT_TRUE(ClientPixelIs(right, rightBody.right - 1, r.top + 5, COLOR_BTNSHADOW));
    // The first tab is not taken for the one next to a selected tab.
    const RECT first = TabRect(bottom, 0);
    EXPECT_TRUE(ClientPixelIs(bottom, first.left, first.top + 3, COLOR_BTNHIGHLIGHT));
    Select(bottom, 1);
    Select(right, 1);
}

TEST_F(ItemPainters, ButtonTabsAreNotPainted)
{
    const HWND tab = Item(I_TAB_BUTTONS);
    ASSERT_EQ(tarvo::FlatKind::TabCtrl, tarvo::FlatLookInspector::KindOf(tab));
    const RECT s = TabRect(tab, 1);
    EXPECT_FALSE(ClientPixelIs(tab, s.left - 2, s.top + 3, COLOR_BTNHIGHLIGHT));
}

// ---- Trackbars -------------------------------------------------------------------

RECT Channel(HWND track)
{
    RECT rect{};
    SendMessageW(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

RECT Thumb(HWND track)
{
    RECT rect{};
    SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

TEST_F(ItemPainters, HorizontalChannelFrameDeepensWithFocus)
{
    const HWND track = Item(I_TRACK);
    const RECT c = Channel(track);
    EXPECT_TRUE(ClientPixelIs(track, c.left, c.top, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(track, c.right - 1, c.top, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(track, c.left + 1, c.top + 1, COLOR_BTNFACE));
    SetFocus(track);
    EXPECT_TRUE(ClientPixelIs(track, c.left + 1, c.top + 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(track, c.left + 1, c.bottom - 2, COLOR_3DLIGHT));
}

TEST_F(ItemPainters, HorizontalThumbs)
{
    // Pointing down: light left and top lines, a dark right line.
    const HWND down = Item(I_TRACK);
    const RECT d = Thumb(down);
    EXPECT_TRUE(ClientPixelIs(down, d.left, d.top + 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(down, d.left + 2, d.top, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(down, d.right - 1, d.top + 1, COLOR_BTNSHADOW));
    // Pointing up: light left line, dark bottom and right lines.
    const HWND up = Item(I_TRACK_TOP);
    const RECT u = Thumb(up);
    EXPECT_TRUE(ClientPixelIs(up, u.left, u.bottom - 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(up, u.left + 2, u.bottom - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(up, u.right - 1, u.bottom - 2, COLOR_BTNSHADOW));
    // Both: a rectangle.
    const HWND both = Item(I_TRACK_BOTH);
    const RECT b = Thumb(both);
    EXPECT_TRUE(ClientPixelIs(both, b.left, b.top, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(both, b.right - 1, b.top, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(both, b.left + 1, b.top + 1, COLOR_BTNFACE));
    // Focused, the thumb's inner lines light up and its dark line deepens.
    SetFocus(down);
    EXPECT_TRUE(ClientPixelIs(down, d.left + 1, d.top + 2, COLOR_3DLIGHT));
    EXPECT_TRUE(ClientPixelIs(down, d.right - 1, d.top + 1, COLOR_3DDKSHADOW));
}

TEST_F(ItemPainters, NoThumbGetsOnlyTheChannel)
{
    const HWND track = Item(I_TRACK_NOTHUMB);
    const RECT c = Channel(track);
    const RECT t = Thumb(track);
    EXPECT_TRUE(ClientPixelIs(track, c.left, c.top, COLOR_BTNSHADOW));
    EXPECT_FALSE(ClientPixelIs(track, t.left, t.top + 1, COLOR_BTNHIGHLIGHT));
}

// A vertical channel lies across the thumb's middle: its left edge is
// thumb.left + thumb width / 2 - thickness / 2, plus 1 with TBS_LEFT, plus 0
// with TBS_BOTH, minus 1 otherwise.
TEST_F(ItemPainters, VerticalChannelLiesAcrossTheThumbsMiddle)
{
    const struct {
        int id;
        int shift;
    } cases[] = {{I_TRACK_VERT, -1}, {I_TRACK_VERT_LEFT, 1}, {I_TRACK_VERT_BOTH, 0}};
    for (const auto& c : cases) {
        const HWND track = Item(c.id);
        const RECT reported = Channel(track);
        const int across = reported.right - reported.left;
        const int along = reported.bottom - reported.top;
        const int thickness = std::min(across, along);
        const int top = along > across ? reported.top : reported.left;
        const RECT t = Thumb(track);
        const int left = t.left + ((t.right - t.left) / 2 - thickness / 2) + c.shift;
        EXPECT_TRUE(ClientPixelIs(track, left, top, COLOR_BTNSHADOW)) << c.id;
        EXPECT_TRUE(ClientPixelIs(track, left, top + 2, COLOR_BTNSHADOW)) << c.id;
        EXPECT_TRUE(ClientPixelIs(track, left + thickness - 1, top + 2, COLOR_BTNHIGHLIGHT)) << c.id;
        EXPECT_TRUE(ClientPixelIs(track, left + 1, top + 2, COLOR_BTNFACE)) << c.id;
    }
}

TEST_F(ItemPainters, VerticalThumbs)
{
    // Pointing right: light left and top lines, a dark bottom line.
    const HWND right = Item(I_TRACK_VERT);
    const RECT r = Thumb(right);
    EXPECT_TRUE(ClientPixelIs(right, r.left, r.top + 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(right, r.left + 1, r.top, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(right, r.left + 1, r.bottom - 1, COLOR_BTNSHADOW));
    // Pointing left: a light top line, dark bottom and right lines.
    const HWND left = Item(I_TRACK_VERT_LEFT);
    const RECT l = Thumb(left);
    EXPECT_TRUE(ClientPixelIs(left, l.right - 3, l.top, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(left, l.right - 1, l.top + 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(left, l.right - 3, l.bottom - 1, COLOR_BTNSHADOW));
}

// ---- A header reaching outside its parent -------------------------------------------

TEST(HeaderPainter, ItemOutsideTheParentsClientAreaIsNotHot)
{
    ASSERT_TRUE(ParkPointer());
    DialogTemplate t(WS_POPUP | WS_CAPTION, 0, 0, 160, 80, L"Header");
    TestDialog dialog(t, 20, 20);
    RECT client{};
    GetClientRect(dialog.hwnd(), &client);
    // Items at header x 0..50, 50..100 and 100..150; the third one straddles
    // the dialog's right edge.
    const HWND header = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_BUTTONS,
                                        client.right - 120, 10, 200, 24, dialog.hwnd(), nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    ASSERT_EQ(tarvo::FlatKind::Header, tarvo::FlatLookInspector::KindOf(header));
    for (int i = 0; i < 3; ++i) {
        HDITEMW item{};
        item.mask = HDI_WIDTH | HDI_TEXT;
        item.cxy = 50;
        item.pszText = const_cast<wchar_t*>(L"Col");
        SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    PointAt(header, 125, 12);  // over the third item, right of the dialog
    Repaint(header);
    EXPECT_EQ(-1, tarvo::FlatLookInspector::HotItemOf(header));
    PointAt(header, 110, 12);  // the third item, inside the dialog
    Repaint(header);
    EXPECT_EQ(2, tarvo::FlatLookInspector::HotItemOf(header));
    EXPECT_TRUE(ClientPixelIs(header, 110, 0, COLOR_BTNHIGHLIGHT));
    ParkPointer();
}

}  // namespace
}  // namespace flattest
