// Painted pixels of the standard controls, read back from their window DCs.
// Every control is placed in pixels; the test palette makes each colour
// tell which line of a frame it belongs to.
#include "ui_support.h"

#include "flatlook/flat_look_inspector.h"

#include <commctrl.h>

#include <algorithm>

namespace flattest {
namespace {

enum : WORD {
    P_SINK = 1,  // an edit without a client edge: not attached, takes the focus away
    P_EDIT,
    P_EDIT_TALL,
    P_EDIT_29,
    P_EDIT_30,
    P_EDIT_READONLY,
    P_EDIT_DISABLED,
    P_PUSH,
    P_DEFPUSH,
    P_PUSHLIKE,
    P_CHECK,
    P_CHECK_LEFT,
    P_CHECK_TOP,
    P_CHECK_BOTTOM,
    P_CHECK_3STATE,
    P_CHECK_DISABLED,
    P_RADIO,
    P_RADIO_LEFT,
    P_RADIO_DISABLED,
    P_HSCROLL,
    P_VSCROLL,
    P_SPIN_EDIT,
    P_SPIN,
    P_SPIN_EDIT_LEFT,
    P_SPIN_LEFT,
    P_LISTBOX,
    P_LISTBOX_SHORT,
    P_COMBO_LIST,
    P_COMBO_DROPDOWN,
    P_COMBO_SIMPLE,
    P_DATETIME,
    P_IPADDRESS,
};

bool StateHas(HWND hwnd, WORD bit)
{
    return (tarvo::FlatLookInspector::StateOf(hwnd) & bit) != 0;
}

DialogTemplate PaintTemplate()
{
    DialogTemplate t(WS_POPUP | WS_CAPTION, 0, 0, 420, 260, L"Painters");
    const DWORD edge = WS_EX_CLIENTEDGE;
    // Positions come from PlaceAll (pixels); the template only creates.
    t.Add(L"Edit", nullptr, P_SINK, WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(L"Edit", L"edit", P_EDIT, WS_TABSTOP, edge, 0, 0, 10, 10)
        .Add(L"Edit", L"tall", P_EDIT_TALL, ES_MULTILINE | WS_TABSTOP, edge, 0, 0, 10, 10)
        .Add(L"Edit", L"29", P_EDIT_29, WS_TABSTOP, edge, 0, 0, 10, 10)
        .Add(L"Edit", L"30", P_EDIT_30, WS_TABSTOP, edge, 0, 0, 10, 10)
        .Add(L"Edit", L"read-only", P_EDIT_READONLY, ES_READONLY | WS_TABSTOP, edge, 0, 0, 10, 10)
        .Add(L"Edit", L"disabled", P_EDIT_DISABLED, WS_DISABLED, edge, 0, 0, 10, 10)
        .Add(L"Button", L"Push", P_PUSH, BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Default", P_DEFPUSH, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Push-like", P_PUSHLIKE, BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Check", P_CHECK, BS_AUTOCHECKBOX, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Left", P_CHECK_LEFT, BS_AUTOCHECKBOX | BS_LEFTTEXT, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Top", P_CHECK_TOP, BS_AUTOCHECKBOX | BS_TOP, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Bottom", P_CHECK_BOTTOM, BS_AUTOCHECKBOX | BS_BOTTOM, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Three", P_CHECK_3STATE, BS_AUTO3STATE, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Disabled", P_CHECK_DISABLED, BS_AUTOCHECKBOX | WS_DISABLED, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Radio", P_RADIO, BS_AUTORADIOBUTTON | WS_GROUP, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Left", P_RADIO_LEFT, BS_AUTORADIOBUTTON | BS_LEFTTEXT | WS_GROUP, 0, 0, 0, 10, 10)
        .Add(L"Button", L"Off", P_RADIO_DISABLED, BS_AUTORADIOBUTTON | WS_DISABLED | WS_GROUP, 0, 0, 0, 10, 10)
        .Add(L"ScrollBar", nullptr, P_HSCROLL, SBS_HORZ, 0, 0, 0, 10, 10)
        .Add(L"ScrollBar", nullptr, P_VSCROLL, SBS_VERT, 0, 0, 0, 10, 10)
        .Add(L"Edit", L"5", P_SPIN_EDIT, ES_NUMBER, edge, 0, 0, 10, 10)
        .Add(UPDOWN_CLASSW, nullptr, P_SPIN, UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0, 10, 10)
        .Add(L"Edit", L"7", P_SPIN_EDIT_LEFT, ES_NUMBER, edge, 0, 0, 10, 10)
        .Add(UPDOWN_CLASSW, nullptr, P_SPIN_LEFT, UDS_ALIGNLEFT | UDS_SETBUDDYINT, 0, 0, 0, 10, 10)
        .Add(L"ListBox", nullptr, P_LISTBOX, WS_VSCROLL | LBS_NOINTEGRALHEIGHT, edge, 0, 0, 10, 10)
        .Add(L"ListBox", nullptr, P_LISTBOX_SHORT, WS_VSCROLL | LBS_NOINTEGRALHEIGHT, edge, 0, 0, 10, 10)
        .Add(L"ComboBox", nullptr, P_COMBO_LIST, CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 0, 10, 60)
        .Add(L"ComboBox", nullptr, P_COMBO_DROPDOWN, CBS_DROPDOWN | WS_VSCROLL, 0, 0, 0, 10, 60)
        .Add(L"ComboBox", nullptr, P_COMBO_SIMPLE, CBS_SIMPLE, 0, 0, 0, 10, 60)
        .Add(DATETIMEPICK_CLASSW, nullptr, P_DATETIME, DTS_SHORTDATEFORMAT, edge, 0, 0, 10, 10)
        .Add(WC_IPADDRESSW, nullptr, P_IPADDRESS, 0, edge, 0, 0, 10, 10);
    return t;
}

class Painters : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dialog_ = new TestDialog(PaintTemplate(), 20, 20);
        TestDialog& d = *dialog_;
        const int a = GetSystemMetrics(SM_CXHSCROLL);
        d.Place(P_SINK, 560, 10, 40, 20);
        d.Place(P_EDIT, 10, 10, 120, 24);
        d.Place(P_EDIT_TALL, 140, 10, 120, 60);
        d.Place(P_EDIT_29, 270, 10, 100, 29);
        d.Place(P_EDIT_30, 380, 10, 100, 30);
        d.Place(P_EDIT_READONLY, 10, 40, 120, 24);
        d.Place(P_EDIT_DISABLED, 10, 70, 120, 24);
        d.Place(P_PUSH, 140, 80, 80, 24);
        d.Place(P_DEFPUSH, 230, 80, 80, 24);
        d.Place(P_PUSHLIKE, 320, 80, 80, 24);
        d.Place(P_CHECK, 10, 130, 100, 20);
        d.Place(P_CHECK_LEFT, 120, 130, 100, 20);
        d.Place(P_CHECK_TOP, 230, 130, 100, 20);
        d.Place(P_CHECK_BOTTOM, 340, 130, 100, 20);
        d.Place(P_CHECK_3STATE, 10, 155, 100, 20);
        d.Place(P_CHECK_DISABLED, 120, 155, 100, 20);
        d.Place(P_RADIO, 230, 155, 100, 20);
        d.Place(P_RADIO_LEFT, 340, 155, 100, 20);
        d.Place(P_RADIO_DISABLED, 450, 155, 100, 20);
        d.Place(P_HSCROLL, 10, 185, 200, a);
        d.Place(P_VSCROLL, 220, 185, a, 150);
        d.Place(P_SPIN_EDIT, 260, 185, 80, 24);
        d.Place(P_SPIN_EDIT_LEFT, 420, 185, 80, 24);
        d.Place(P_LISTBOX, 260, 220, 150, 100);
        d.Place(P_LISTBOX_SHORT, 420, 220, 150, 60);
        d.Place(P_COMBO_LIST, 10, 220, 150, 120);
        d.Place(P_COMBO_DROPDOWN, 10, 250, 150, 120);
        d.Place(P_COMBO_SIMPLE, 10, 280, 120, 90);
        d.Place(P_DATETIME, 420, 290, 130, 24);
        d.Place(P_IPADDRESS, 420, 320, 150, 24);
        SetWindowPos(d.hwnd(), nullptr, 0, 0, 620, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // Buddies are set after placing the edits: the up-downs move beside them.
        SendDlgItemMessageW(d.hwnd(), P_SPIN, UDM_SETBUDDY, reinterpret_cast<WPARAM>(d.Item(P_SPIN_EDIT)), 0);
        SendDlgItemMessageW(d.hwnd(), P_SPIN_LEFT, UDM_SETBUDDY, reinterpret_cast<WPARAM>(d.Item(P_SPIN_EDIT_LEFT)),
                            0);
        for (int i = 0; i < 20; ++i) {
            SendDlgItemMessageW(d.hwnd(), P_LISTBOX, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"line"));
            SendDlgItemMessageW(d.hwnd(), P_LISTBOX_SHORT, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"line"));
        }
        for (int id : {P_COMBO_LIST, P_COMBO_DROPDOWN, P_COMBO_SIMPLE}) {
            SendDlgItemMessageW(d.hwnd(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"vCard"));
            SendDlgItemMessageW(d.hwnd(), id, CB_SETCURSEL, 0, 0);
        }
        SendDlgItemMessageW(d.hwnd(), P_PUSHLIKE, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageW(d.hwnd(), P_CHECK_3STATE, BM_SETCHECK, BST_INDETERMINATE, 0);
    }
    static void TearDownTestSuite()
    {
        delete dialog_;
        dialog_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(ParkPointer());
        SetFocus(Item(P_SINK));
        Repaint(dialog_->hwnd());
    }
    static HWND Item(int id) { return dialog_->Item(id); }
    static SIZE Size(HWND hwnd)
    {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    static TestDialog* dialog_;
};

TestDialog* Painters::dialog_ = nullptr;

// ---- Client-edge and edit frames ---------------------------------------------

TEST_F(Painters, EditFrameNormalIsAThinSunkenLineWithALightInnerLine)
{
    const HWND edit = Item(P_EDIT);  // 120 x 24: small
    EXPECT_TRUE(WindowPixelIs(edit, 0, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(edit, 118, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(edit, 119, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 0, 23, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 1, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 1, 12, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 118, 12, COLOR_3DLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 60, 22, COLOR_3DLIGHT));
}

TEST_F(Painters, SmallFramesBelowThirtyPixelsUseTheHighlightInnerLine)
{
    EXPECT_TRUE(WindowPixelIs(Item(P_EDIT_29), 1, 5, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(Item(P_EDIT_30), 1, 5, COLOR_3DLIGHT));
    EXPECT_TRUE(WindowPixelIs(Item(P_EDIT_TALL), 1, 5, COLOR_3DLIGHT));
    EXPECT_TRUE(WindowPixelIs(Item(P_LISTBOX), 5, 1, COLOR_3DLIGHT));
}

TEST_F(Painters, FocusedEditGetsTheFullSunkenEdge)
{
    const HWND edit = Item(P_EDIT);
    SetFocus(edit);
    EXPECT_TRUE(StateHas(edit, tarvo::STATE_FOCUS));
    EXPECT_TRUE(WindowPixelIs(edit, 0, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(edit, 1, 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(edit, 118, 12, COLOR_3DLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 119, 12, COLOR_BTNHIGHLIGHT));
    SetFocus(Item(P_SINK));
    EXPECT_TRUE(WindowPixelIs(edit, 1, 1, COLOR_BTNHIGHLIGHT));
}

TEST_F(Painters, ReadOnlyAndDisabledEditsHaveAFaceColouredInnerLine)
{
    for (int id : {P_EDIT_READONLY, P_EDIT_DISABLED}) {
        const HWND edit = Item(id);
        EXPECT_TRUE(WindowPixelIs(edit, 0, 5, COLOR_BTNSHADOW)) << id;
        EXPECT_TRUE(WindowPixelIs(edit, 1, 5, COLOR_BTNFACE)) << id;
        EXPECT_TRUE(WindowPixelIs(edit, 118, 5, COLOR_BTNFACE)) << id;
        EXPECT_TRUE(WindowPixelIs(edit, 119, 5, COLOR_BTNHIGHLIGHT)) << id;
    }
    EXPECT_TRUE(StateHas(Item(P_EDIT_READONLY), tarvo::STATE_READONLY));
}

TEST_F(Painters, ThreePixelBorderShrinksTheFrameByOne)
{
    const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"border", WS_CHILD | WS_VISIBLE | WS_BORDER, 140,
                                      40, 120, 24, dialog_->hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_EQ(tarvo::FlatKind::Edit, tarvo::FlatLookInspector::KindOf(edit));
    Repaint(edit);
    EXPECT_TRUE(WindowPixelIs(edit, 1, 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(edit, 2, 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 118, 5, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, 117, 5, COLOR_3DLIGHT));
    DestroyWindow(edit);
}

// ---- Buttons -------------------------------------------------------------------

TEST_F(Painters, PushButtonFrames)
{
    const HWND push = Item(P_PUSH);  // 80 x 24
    EXPECT_TRUE(WindowPixelIs(push, 0, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(push, 79, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(push, 40, 23, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(push, 1, 1, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(push, 78, 12, COLOR_BTNFACE));

    const HWND def = Item(P_DEFPUSH);
    EXPECT_TRUE(WindowPixelIs(def, 0, 0, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(def, 79, 23, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(def, 1, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(def, 78, 22, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(def, 2, 2, COLOR_BTNFACE));

    // Focused like hot: the default button's middle and inner outlines deepen.
    SetFocus(def);
    EXPECT_TRUE(WindowPixelIs(def, 0, 0, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(def, 1, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(def, 78, 22, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(def, 2, 2, COLOR_3DLIGHT));
    EXPECT_TRUE(WindowPixelIs(def, 77, 21, COLOR_BTNSHADOW));
}

TEST_F(Painters, HotPushButtonIsRaised)
{
    const HWND push = Item(P_PUSH);
    ASSERT_TRUE(HoverOver(push));
    EXPECT_TRUE(WindowPixelIs(push, 0, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(push, 79, 23, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(push, 1, 1, COLOR_3DLIGHT));
    EXPECT_TRUE(WindowPixelIs(push, 78, 22, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(push, 2, 2, COLOR_BTNFACE));
}

TEST_F(Painters, CheckedPushLikeButtonIsSunken)
{
    const HWND button = Item(P_PUSHLIKE);
    ASSERT_EQ(BST_CHECKED, SendMessageW(button, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(WindowPixelIs(button, 0, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(button, 79, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(button, 1, 1, COLOR_BTNFACE));
    ASSERT_TRUE(HoverOver(button));
    EXPECT_TRUE(WindowPixelIs(button, 0, 0, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(button, 1, 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(button, 78, 22, COLOR_3DLIGHT));
    // Unchecked it is a plain push button again.
    SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(ParkPointer());
    EXPECT_TRUE(WindowPixelIs(button, 0, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(button, 79, 23, COLOR_BTNSHADOW));
    SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
}

// The check box's 13 x 13 box in a 100 x 20 button.
TEST_F(Painters, CheckBoxPlacesItsBoxByAlignment)
{
    const int middle = (20 - 13) / 2;
    const HWND check = Item(P_CHECK);
    EXPECT_TRUE(WindowPixelIs(check, 0, middle, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(check, 12, middle, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(check, 0, middle + 12, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(check, 1, middle + 1, COLOR_WINDOW));
    EXPECT_TRUE(WindowPixelIs(check, 11, middle + 11, COLOR_WINDOW));

    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_LEFT), 100 - 13, middle, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_LEFT), 99, middle, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_TOP), 0, 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_TOP), 1, 2, COLOR_WINDOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_BOTTOM), 0, 20 - 15, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_BOTTOM), 1, 20 - 14, COLOR_WINDOW));
}

TEST_F(Painters, CheckBoxStates)
{
    const int middle = (20 - 13) / 2;
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_3STATE), 1, middle + 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_3STATE), 0, middle, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_DISABLED), 0, middle, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_CHECK_DISABLED), 1, middle + 1, COLOR_BTNFACE));

    const HWND check = Item(P_CHECK);
    ASSERT_TRUE(HoverOver(check));
    EXPECT_TRUE(WindowPixelIs(check, 0, middle, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(check, 12, middle + 5, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(check, 1, middle + 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(check, 11, middle + 5, COLOR_BTNFACE));
}

// The ring's origin is (1, middle), or (width - 12, middle) with BS_LEFTTEXT.
TEST_F(Painters, RadioButtonRing)
{
    const int y = (20 - 13) / 2;
    const HWND radio = Item(P_RADIO);
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 4, y + 0, COLOR_BTNSHADOW));   // outer, upper left
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 0, y + 6, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 4, y + 1, COLOR_WINDOW));      // inner, upper left
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 4, y + 10, COLOR_BTNFACE));    // inner, lower right
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 4, y + 11, COLOR_WINDOW));     // outer, lower right
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 11, y + 6, COLOR_WINDOW));

    EXPECT_TRUE(WindowPixelIs(Item(P_RADIO_LEFT), 100 - 12 + 4, y, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(Item(P_RADIO_LEFT), 100 - 12 + 11, y + 6, COLOR_WINDOW));

    const HWND off = Item(P_RADIO_DISABLED);
    EXPECT_TRUE(WindowPixelIs(off, 1 + 4, y + 1, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(off, 1 + 4, y + 11, COLOR_BTNHIGHLIGHT));

    ASSERT_TRUE(HoverOver(radio));
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 4, y + 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(radio, 1 + 4, y + 11, COLOR_WINDOW));
}

// ---- Scroll bars ---------------------------------------------------------------

void SetBar(HWND bar, int max, UINT page, int pos)
{
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, max, page, pos, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

TEST_F(Painters, ScrollBarControlButtonsAndThumb)
{
    const HWND bar = Item(P_HSCROLL);  // 200 x a
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    SetBar(bar, 99, 10, 45);
    const int track = 200 - 2 * a;
    const int thumb = std::max(MulDiv(10, track, 100), 8);
    const int offset = MulDiv(45, track - thumb, 100 - 10);
    EXPECT_TRUE(WindowPixelIs(bar, 0, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(bar, a - 1, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(bar, 1, 1, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(bar, 200 - a, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(bar, 199, a - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(bar, a + offset, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(bar, a + offset, a / 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(bar, a + offset + thumb - 1, a / 2, COLOR_BTNSHADOW));

    // A thumb that would fill the track is outlined as long as the track,
    // one pixel shorter when the page is the whole range.
    SetBar(bar, 99, 100, 0);
    EXPECT_TRUE(WindowPixelIs(bar, a, a / 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(bar, a + track - 2, a / 2, COLOR_BTNSHADOW));

    const HWND vertical = Item(P_VSCROLL);  // a x 150
    SetBar(vertical, 9, 5, 5);
    const int vTrack = 150 - 2 * a;
    const int vThumb = std::max(MulDiv(5, vTrack, 10), 8);
    const int vOffset = MulDiv(5, vTrack - vThumb, 10 - 5);  // the last position
    EXPECT_TRUE(WindowPixelIs(vertical, a / 2, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(vertical, a / 2, a - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(vertical, a / 2, a + vOffset, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(vertical, a / 2, a + vOffset + vThumb - 1, COLOR_BTNSHADOW));
    SetBar(bar, 99, 20, 30);
}

TEST_F(Painters, DisabledScrollBarControlGetsOnlyItsButtons)
{
    const HWND bar = Item(P_HSCROLL);
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    SetBar(bar, 99, 10, 0);
    const int thumbRight = a + std::max(MulDiv(10, 200 - 2 * a, 100), 8) - 1;
    EXPECT_TRUE(WindowPixelIs(bar, thumbRight, a / 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(bar, a + 1, a / 2, COLOR_BTNFACE));
    EnableWindow(bar, FALSE);
    EXPECT_TRUE(WindowPixelIs(bar, 0, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(bar, a - 1, a / 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(bar, 200 - a, a / 2, COLOR_BTNHIGHLIGHT));
    EXPECT_FALSE(WindowPixelIs(bar, thumbRight, a / 2, COLOR_BTNSHADOW));
    EXPECT_FALSE(WindowPixelIs(bar, a + 1, a / 2, COLOR_BTNFACE));
    EnableWindow(bar, TRUE);
}

TEST_F(Painters, ListBoxOwnScrollBarButtonsAndThumb)
{
    const HWND list = Item(P_LISTBOX);  // 150 x 100, 20 lines
    const int e = GetSystemMetrics(SM_CXEDGE);
    const int s = GetSystemMetrics(SM_CXHSCROLL);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    const int left = 150 - s - e;
    const int length = 100 - 2 * e;
    const int track = length - 2 * s;
    const int range = info.nMax - info.nMin + 1;
    const int thumb = std::max(MulDiv(info.nPage, track, range), 8);
    ASSERT_LT(thumb, track);
    const int offset = MulDiv(info.nPos - info.nMin, track - thumb, range - info.nPage);
    EXPECT_TRUE(WindowPixelIs(list, left, e, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(list, 150 - e - 1, e, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(list, left, 100 - e - s, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(list, left, e + s + offset, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(list, left + 3, e + s + offset + thumb - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(list, left + 1, e + s + offset + 1, COLOR_BTNFACE));
    // Hot, the buttons and the thumb are raised.
    ASSERT_TRUE(HoverOver(list));
    EXPECT_TRUE(WindowPixelIs(list, left, e, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(list, 150 - e - 1, e, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(list, left + 1, e + 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(list, left + 3, e + s + offset + thumb - 1, COLOR_3DDKSHADOW));
}

// ---- Up-down controls ------------------------------------------------------------

TEST_F(Painters, EditWithRightUpDownStaysOpenTowardIt)
{
    const HWND edit = Item(P_SPIN_EDIT);
    const HWND spin = Item(P_SPIN);
    ASSERT_EQ(edit, reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)));
    const SIZE e = Size(edit);
    const SIZE u = Size(spin);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    // The top lines run on to the edit's right end: no right border line.
    EXPECT_TRUE(WindowPixelIs(edit, e.cx - 1, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(edit, e.cx - 2, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(edit, e.cx - 1, e.cy - 1, COLOR_BTNHIGHLIGHT));
    // The light line runs across the top of the up-down.
    EXPECT_TRUE(ClientPixelIs(spin, 1, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(spin, u.cx - edge - 1, 1, COLOR_BTNHIGHLIGHT));
    // The up-down's own halves: inset by 2 from the top, and from the right.
    EXPECT_TRUE(ClientPixelIs(spin, 0, 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(ClientPixelIs(spin, u.cx - 3, 2, COLOR_BTNSHADOW));

    SetFocus(edit);
    EXPECT_TRUE(ClientPixelIs(spin, 1, 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(spin, u.cx - edge - 1, 1, COLOR_3DDKSHADOW));
    SetFocus(Item(P_SINK));
    EXPECT_TRUE(ClientPixelIs(spin, 1, 1, COLOR_BTNHIGHLIGHT));

    EnableWindow(edit, FALSE);
    EXPECT_TRUE(ClientPixelIs(spin, 1, 1, COLOR_BTNFACE));
    EXPECT_TRUE(ClientPixelIs(spin, u.cx - edge - 1, 1, COLOR_BTNFACE));
    EnableWindow(edit, TRUE);
    EXPECT_TRUE(ClientPixelIs(spin, 1, 1, COLOR_BTNHIGHLIGHT));
}

TEST_F(Painters, EditWithLeftUpDownStaysOpenTowardIt)
{
    const HWND edit = Item(P_SPIN_EDIT_LEFT);
    const HWND spin = Item(P_SPIN_LEFT);
    const SIZE u = Size(spin);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    EXPECT_TRUE(WindowPixelIs(edit, 1, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_FALSE(WindowPixelIs(edit, 1, 8, COLOR_BTNHIGHLIGHT));  // no left inner line
    EXPECT_TRUE(ClientPixelIs(spin, 1, u.cy - edge - 1, COLOR_BTNHIGHLIGHT));
    SetFocus(edit);
    EXPECT_TRUE(ClientPixelIs(spin, 1, u.cy / 2, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(spin, u.cx - edge - 1, 1, COLOR_3DDKSHADOW));
}

// ---- Combo boxes, date-time and IP-address fields ------------------------------

TEST_F(Painters, ComboFrameOutlinesTheDropDownButton)
{
    const HWND combo = Item(P_COMBO_LIST);
    const SIZE c = Size(combo);
    const int s = GetSystemMetrics(SM_CXHSCROLL);
    const int buttonLeft = c.cx - 2 - s;
    EXPECT_TRUE(WindowPixelIs(combo, 0, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(combo, buttonLeft, 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(combo, c.cx - 3, 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(combo, buttonLeft + 1, 3, COLOR_BTNFACE));

    SetFocus(combo);
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(combo, buttonLeft, 2, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(combo, c.cx - 3, 2, COLOR_3DDKSHADOW));
    EXPECT_TRUE(WindowPixelIs(combo, buttonLeft + 1, 3, COLOR_BTNHIGHLIGHT));
    SetFocus(Item(P_SINK));
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_BTNHIGHLIGHT));

    EnableWindow(combo, FALSE);
    EXPECT_TRUE(WindowPixelIs(combo, buttonLeft, 2, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(combo, c.cx - 3, 2, COLOR_BTNFACE));
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_BTNFACE));
    EnableWindow(combo, TRUE);

    const HWND picker = Item(P_DATETIME);  // without an up-down: the combo frame
    const SIZE d = Size(picker);
    EXPECT_TRUE(WindowPixelIs(picker, d.cx - 2 - s, 2, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(picker, d.cx - 3, 2, COLOR_BTNSHADOW));
}

TEST_F(Painters, DropDownComboShowsTheFocusOfItsEdit)
{
    const HWND combo = Item(P_COMBO_DROPDOWN);
    SetFocus(GetTopWindow(combo));
    EXPECT_TRUE(StateHas(combo, tarvo::STATE_FOCUS));
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_3DDKSHADOW));
    SetFocus(Item(P_SINK));
    PumpPending();
    EXPECT_FALSE(StateHas(combo, tarvo::STATE_FOCUS));
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_BTNHIGHLIGHT));
}

TEST_F(Painters, SimpleComboEditIsFramedInTheComboBox)
{
    const HWND combo = Item(P_COMBO_SIMPLE);
    const HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_EQ(tarvo::FlatKind::ComboEdit, tarvo::FlatLookInspector::KindOf(edit));
    const SIZE e = Size(edit);
    EXPECT_TRUE(WindowPixelIs(combo, 0, 0, COLOR_BTNSHADOW));
    EXPECT_TRUE(WindowPixelIs(combo, e.cx + 5, 0, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(combo, 0, e.cy + 5, COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_BTNHIGHLIGHT));
    SetFocus(edit);
    EXPECT_TRUE(WindowPixelIs(combo, 1, 1, COLOR_3DDKSHADOW));
}

TEST_F(Painters, IPAddressIsFocusedWhileOneOfItsFieldsIs)
{
    const HWND address = Item(P_IPADDRESS);
    SetFocus(GetTopWindow(address));
    EXPECT_TRUE(StateHas(address, tarvo::STATE_FOCUS));
    EXPECT_TRUE(WindowPixelIs(address, 1, 1, COLOR_3DDKSHADOW));
    SetFocus(Item(P_SINK));
    EXPECT_FALSE(StateHas(address, tarvo::STATE_FOCUS));
    EXPECT_TRUE(WindowPixelIs(address, 1, 1, COLOR_BTNHIGHLIGHT));
}

}  // namespace
}  // namespace flattest
