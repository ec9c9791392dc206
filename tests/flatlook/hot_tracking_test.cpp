// Hot tracking with the real pointer and the real 100 ms timer: the hot
// control follows the pointer, an untracked child makes its parent hot, a
// captured mouse keeps the hot control, and headers, toolbars and tab
// controls track the item under the pointer.
#include "gallery.h"
#include "ui_support.h"

#include "flatlook/flat_look_inspector.h"
#include "flatlook/flat_look_manager.h"

#include <commctrl.h>

namespace flattest {
namespace {

using tarvo::FlatLookInspector;
using tarvo::STATE_HOT;

bool IsHot(HWND hwnd)
{
    return (FlatLookInspector::StateOf(hwnd) & STATE_HOT) != 0;
}

bool NothingHot()
{
    return FlatLookInspector::HotWindow() == nullptr;
}

// Waits until `hwnd` shows `colourIndex` at client point (x, y): a control
// that paints itself after the hot frame was drawn gets it again at the
// next timer tick.
::testing::AssertionResult EventuallyClientPixelIs(HWND hwnd, int x, int y, int colourIndex)
{
    PumpUntil([&] { return ClientPixel(hwnd, x, y) == GetSysColor(colourIndex); }, 2000);
    return ClientPixelIs(hwnd, x, y, colourIndex);
}

class HotTracking : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dialog_ = new TestDialog(GalleryTemplate(), 20, 20, GalleryDialogProc); }
    static void TearDownTestSuite()
    {
        delete dialog_;
        dialog_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(ParkPointer()); }
    void TearDown() override
    {
        ReleaseCapture();
        ParkPointer();
    }
    static HWND Item(int id) { return dialog_->Item(id); }
    // Points at an empty spot of the gallery, given in dialog units.
    static void PointAtEmptySpot()
    {
        RECT spot{300, 45, 0, 0};
        MapDialogRect(dialog_->hwnd(), &spot);
        PointAt(dialog_->hwnd(), spot.left, spot.top);
    }
    static TestDialog* dialog_;
};

TestDialog* HotTracking::dialog_ = nullptr;

TEST_F(HotTracking, FollowsThePointerFromControlToControl)
{
    const HWND edit = Item(ID_EDIT);
    const HWND other = Item(ID_EDIT_READONLY);
    ASSERT_TRUE(HoverOver(edit));
    EXPECT_TRUE(IsHot(edit));
    ASSERT_TRUE(HoverOver(other));
    EXPECT_FALSE(IsHot(edit));
    EXPECT_TRUE(IsHot(other));
    PointAtEmptySpot();
    EXPECT_TRUE(PumpUntil(NothingHot));
    EXPECT_FALSE(IsHot(other));
}

TEST_F(HotTracking, UntrackedChildMakesItsParentHot)
{
    const HWND combo = Item(ID_COMBO_DROPDOWN);
    const HWND comboEdit = GetTopWindow(combo);
    ASSERT_EQ(tarvo::FlatKind::None, FlatLookInspector::KindOf(comboEdit));
    EXPECT_TRUE(HoverOver(comboEdit, combo));
    EXPECT_TRUE(IsHot(combo));
}

TEST_F(HotTracking, CapturedMouseKeepsTheHotControl)
{
    const HWND edit = Item(ID_EDIT);
    ASSERT_TRUE(HoverOver(edit));
    SetCapture(dialog_->hwnd());
    PointAtEmptySpot();
    tarvo::GetFlatLookManager()->TrackHotControl();
    PumpPending();
    EXPECT_EQ(edit, FlatLookInspector::HotWindow());
    EXPECT_TRUE(IsHot(edit));
    ReleaseCapture();
    EXPECT_TRUE(PumpUntil(NothingHot));
    EXPECT_FALSE(IsHot(edit));
}

TEST_F(HotTracking, UpDownAndItsBuddyAreHotTogether)
{
    const HWND spin = Item(ID_SPIN_RIGHT);
    const HWND buddy = Item(ID_SPIN_EDIT_RIGHT);
    ASSERT_TRUE(HoverOver(spin));
    EXPECT_TRUE(IsHot(buddy));
    ASSERT_TRUE(HoverOver(buddy));
    EXPECT_FALSE(IsHot(spin));
    EXPECT_TRUE(IsHot(buddy));
    // A repaint of the up-down does not take the hot state from the buddy
    // the pointer is on.
    Repaint(spin);
    EXPECT_TRUE(IsHot(buddy));
    EXPECT_TRUE(WindowPixelIs(buddy, 1, 1, COLOR_3DDKSHADOW));
    PointAtEmptySpot();
    EXPECT_TRUE(PumpUntil(NothingHot));
    EXPECT_FALSE(IsHot(buddy));
}

TEST_F(HotTracking, UpDownInsideADateTimePickerMakesThePickerHot)
{
    const HWND picker = Item(ID_DATETIME_UPDOWN);
    const HWND spin = GetTopWindow(picker);
    ASSERT_TRUE(HoverOver(spin));
    EXPECT_TRUE(IsHot(picker));
    PointAtEmptySpot();
    EXPECT_TRUE(PumpUntil(NothingHot));
    EXPECT_FALSE(IsHot(picker));
}

class HeaderHotTracking : public HotTracking {
protected:
    HWND List() const { return Item(ID_LISTVIEW); }
    HWND Header() const { return reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0)); }
    RECT ItemRect(int index) const
    {
        RECT rect{};
        SendMessageW(Header(), HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    void PointAtItem(int index) const
    {
        const RECT r = ItemRect(index);
        PointAt(Header(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    bool HotItemIs(int index) const
    {
        return PumpUntil([&] {
            return FlatLookInspector::HotWindow() == Header() && FlatLookInspector::HotItemOf(Header()) == index;
        });
    }
    void TearDown() override
    {
        const int order[] = {0, 1, 2};
        SendMessageW(Header(), HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
        HotTracking::TearDown();
    }
};

TEST_F(HeaderHotTracking, ItemUnderThePointerIsRaisedAndTheListIsHot)
{
    const HWND header = Header();
    PointAtItem(2);
    ASSERT_TRUE(HotItemIs(2));
    EXPECT_TRUE(IsHot(List()));
    const RECT hot = ItemRect(2);
    const RECT flat = ItemRect(0);
    EXPECT_TRUE(EventuallyClientPixelIs(header, hot.right - 1, hot.top + 2, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(header, hot.left + 2, hot.bottom - 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(header, flat.right - 1, flat.top + 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(header, flat.left + 2, flat.bottom - 2, COLOR_BTNFACE));

    PointAtItem(0);
    ASSERT_TRUE(HotItemIs(0));
    EXPECT_TRUE(EventuallyClientPixelIs(header, flat.right - 1, flat.top + 2, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(header, hot.right - 1, hot.top + 2, COLOR_BTNSHADOW));

    // Right of the last item the header stays hot but no item is, and the
    // list loses its hot state.
    RECT client{};
    GetClientRect(header, &client);
    ASSERT_GT(client.right, hot.right + 6);
    PointAt(header, (hot.right + client.right) / 2, (client.top + client.bottom) / 2);
    ASSERT_TRUE(HotItemIs(-1));
    EXPECT_FALSE(IsHot(List()));
    EXPECT_TRUE(ClientPixelIs(header, flat.right - 1, flat.top + 2, COLOR_BTNSHADOW));
}

TEST_F(HeaderHotTracking, ReorderedColumnsAreTrackedWhereTheyStand)
{
    const HWND header = Header();
    const int order[] = {2, 0, 1};
    ASSERT_TRUE(SendMessageW(header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    PumpPending();
    const RECT first = ItemRect(2);
    const RECT middle = ItemRect(0);
    const RECT last = ItemRect(1);
    ASSERT_LT(first.left, middle.left);
    ASSERT_LT(middle.left, last.left);

    PointAtItem(0);
    ASSERT_TRUE(HotItemIs(0));
    EXPECT_TRUE(EventuallyClientPixelIs(header, middle.left + 4, middle.bottom - 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(header, middle.right - 1, middle.top + 2, COLOR_3DDKSHADOW));
    // The rest of the header starts right of the item shown last.
    EXPECT_TRUE(ClientPixelIs(header, last.right - 1, last.top + 2, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(header, last.right, last.top + 2, COLOR_BTNHIGHLIGHT));

    PointAtItem(2);
    ASSERT_TRUE(HotItemIs(2));
    EXPECT_TRUE(EventuallyClientPixelIs(header, first.right - 1, first.top + 2, COLOR_3DDKSHADOW));
}

class ToolbarHotTracking : public HotTracking {
protected:
    HWND Toolbar() const { return Item(ID_TOOLBAR); }
    RECT ButtonRect(int index) const
    {
        RECT rect{};
        SendMessageW(Toolbar(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    bool HoverButton(int index) const
    {
        const RECT r = ButtonRect(index);
        PointAt(Toolbar(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return PumpUntil([&] {
            return FlatLookInspector::HotWindow() == Toolbar() && FlatLookInspector::HotItemOf(Toolbar()) == index;
        });
    }
};

TEST_F(ToolbarHotTracking, ButtonsAreRaisedCheckedOnesSunken)
{
    const HWND toolbar = Toolbar();
    const RECT plain = ButtonRect(0);
    const RECT checked = ButtonRect(1);
    Repaint(toolbar);
    EXPECT_TRUE(ClientPixelIs(toolbar, plain.right - 1, plain.bottom - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(toolbar, checked.left, checked.top, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(toolbar, checked.right - 1, checked.bottom - 1, COLOR_BTNHIGHLIGHT));

    ASSERT_TRUE(HoverButton(0));
    EXPECT_TRUE(EventuallyClientPixelIs(toolbar, plain.right - 1, plain.bottom - 1, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(toolbar, plain.left + 1, plain.top + 1, COLOR_3DLIGHT));

    ASSERT_TRUE(HoverButton(1));
    EXPECT_TRUE(EventuallyClientPixelIs(toolbar, checked.left, checked.top, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(toolbar, checked.left + 1, checked.top + 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(toolbar, plain.right - 1, plain.bottom - 1, COLOR_BTNSHADOW));
}

TEST_F(ToolbarHotTracking, DisabledButtonIsHotItemButNotDrawnHotAndSeparatorsAreNoItems)
{
    const HWND toolbar = Toolbar();
    ASSERT_TRUE(HoverButton(4));
    const RECT disabled = ButtonRect(4);
    EXPECT_TRUE(ClientPixelIs(toolbar, disabled.right - 1, disabled.bottom - 1, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(toolbar, disabled.left + 1, disabled.top + 1, COLOR_BTNFACE));

    // Over the separator no button is the hot item.
    const RECT separator = ButtonRect(2);
    PointAt(toolbar, (separator.left + separator.right) / 2, (separator.top + separator.bottom) / 2);
    EXPECT_TRUE(PumpUntil([&] { return FlatLookInspector::HotItemOf(toolbar) == -1; }));
    EXPECT_EQ(toolbar, FlatLookInspector::HotWindow());
}

class TabHotTracking : public HotTracking {
protected:
    HWND Tab() const { return Item(ID_TAB_TOP); }
    RECT TabRect(int index) const
    {
        RECT rect{};
        SendMessageW(Tab(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
};

TEST_F(TabHotTracking, TabUnderThePointerIsHot)
{
    const HWND tab = Tab();
    ASSERT_EQ(1, SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    const RECT third = TabRect(2);
    PointAt(tab, (third.left + third.right) / 2, (third.top + third.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return FlatLookInspector::HotItemOf(tab) == 2; }));
    EXPECT_TRUE(EventuallyClientPixelIs(tab, third.right - 1, third.top + 4, COLOR_3DDKSHADOW));
    EXPECT_TRUE(ClientPixelIs(tab, third.right - 2, third.top + 4, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(tab, third.left + 4, third.top + 1, COLOR_3DLIGHT));

    const RECT first = TabRect(0);
    PointAt(tab, (first.left + first.right) / 2, (first.top + first.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return FlatLookInspector::HotItemOf(tab) == 0; }));
    EXPECT_TRUE(EventuallyClientPixelIs(tab, first.left + 1, first.top + 4, COLOR_3DLIGHT));
    EXPECT_TRUE(ClientPixelIs(tab, third.right - 1, third.top + 4, COLOR_BTNSHADOW));
    EXPECT_TRUE(ClientPixelIs(tab, third.left + 4, third.top + 1, COLOR_BTNFACE));
}

}  // namespace
}  // namespace flattest
