// Which handler each control gets, and which controls are left alone.
#include "gallery.h"
#include "ui_support.h"

#include "flatlook/flat_look_inspector.h"
#include "flatlook/flat_look_manager.h"

#include <commctrl.h>

#include <cstdio>

namespace flattest {
namespace {

using tarvo::FlatKind;
using tarvo::FlatLookInspector;

const char* KindName(FlatKind kind)
{
    switch (kind) {
    case FlatKind::None: return "None";
    case FlatKind::Control: return "Control";
    case FlatKind::Edit: return "Edit";
    case FlatKind::ComboEdit: return "ComboEdit";
    case FlatKind::ComboBox: return "ComboBox";
    case FlatKind::DateTime: return "DateTime";
    case FlatKind::IPAddress: return "IPAddress";
    case FlatKind::PushButton: return "PushButton";
    case FlatKind::CheckBox: return "CheckBox";
    case FlatKind::RadioButton: return "RadioButton";
    case FlatKind::ScrollBar: return "ScrollBar";
    case FlatKind::Spin: return "Spin";
    case FlatKind::TrackBar: return "TrackBar";
    case FlatKind::Header: return "Header";
    case FlatKind::ToolBar: return "ToolBar";
    case FlatKind::TabCtrl: return "TabCtrl";
    }
    return "?";
}

::testing::AssertionResult HasKind(HWND hwnd, FlatKind expected)
{
    const FlatKind actual = FlatLookInspector::KindOf(hwnd);
    if (actual == expected) return ::testing::AssertionSuccess();
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    char narrow[64] = {};
    WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
    char text[200];
    std::snprintf(text, sizeof text, "%s window (style 0x%lx, ex 0x%lx) has %s, expected %s", narrow,
                  static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), KindName(actual),
                  KindName(expected));
    return ::testing::AssertionFailure() << text;
}

// One gallery for the suite: it takes a second or two to build under Wine.
class GalleryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dialog_ = new TestDialog(GalleryTemplate(), 20, 20, GalleryDialogProc); }
    static void TearDownTestSuite()
    {
        delete dialog_;
        dialog_ = nullptr;
    }
    static HWND Item(int id) { return dialog_->Item(id); }
    static TestDialog* dialog_;
};

TestDialog* GalleryTest::dialog_ = nullptr;

TEST_F(GalleryTest, ButtonsByType)
{
    EXPECT_TRUE(HasKind(Item(ID_PUSH), FlatKind::PushButton));
    EXPECT_TRUE(HasKind(Item(ID_DEFPUSH), FlatKind::PushButton));
    EXPECT_TRUE(HasKind(Item(ID_USERBUTTON), FlatKind::PushButton));
    EXPECT_TRUE(HasKind(Item(ID_CHECK), FlatKind::CheckBox));
    EXPECT_TRUE(HasKind(Item(ID_PLAIN_CHECK), FlatKind::CheckBox));
    EXPECT_TRUE(HasKind(Item(ID_3STATE), FlatKind::CheckBox));
    EXPECT_TRUE(HasKind(Item(ID_AUTO3STATE), FlatKind::CheckBox));
    EXPECT_TRUE(HasKind(Item(ID_LEFTTEXT_CHECK), FlatKind::CheckBox));
    EXPECT_TRUE(HasKind(Item(ID_PUSHLIKE_CHECK), FlatKind::CheckBox));
    EXPECT_TRUE(HasKind(Item(ID_RADIO1), FlatKind::RadioButton));
    EXPECT_TRUE(HasKind(Item(ID_PLAIN_RADIO), FlatKind::RadioButton));
    EXPECT_TRUE(HasKind(Item(ID_PUSHLIKE_RADIO), FlatKind::RadioButton));
    // Owner-draw buttons, group boxes and flat buttons stay as they are.
    EXPECT_TRUE(HasKind(Item(ID_OWNERDRAW), FlatKind::None));
    EXPECT_TRUE(HasKind(Item(ID_GROUPBOX), FlatKind::None));
    EXPECT_TRUE(HasKind(Item(ID_FLAT_PUSH), FlatKind::None));
    EXPECT_TRUE(HasKind(Item(ID_STATIC), FlatKind::None));
}

TEST_F(GalleryTest, EditsNeedAClientEdge)
{
    EXPECT_TRUE(HasKind(Item(ID_EDIT), FlatKind::Edit));
    EXPECT_TRUE(HasKind(Item(ID_EDIT_READONLY), FlatKind::Edit));
    EXPECT_TRUE(HasKind(Item(ID_EDIT_DISABLED), FlatKind::Edit));
    EXPECT_TRUE(HasKind(Item(ID_EDIT_BORDER), FlatKind::Edit));
    EXPECT_TRUE(HasKind(Item(ID_EDIT_NO_EDGE), FlatKind::None));
    EXPECT_TRUE(HasKind(Item(ID_LISTBOX), FlatKind::Control));
    EXPECT_TRUE(HasKind(Item(ID_LISTBOX_NO_EDGE), FlatKind::None));
    EXPECT_TRUE(HasKind(Item(ID_RICHEDIT), FlatKind::Control));
    EXPECT_TRUE(HasKind(Item(ID_TREEVIEW), FlatKind::Control));
    EXPECT_TRUE(HasKind(Item(ID_HOTKEY), FlatKind::Control));
    EXPECT_TRUE(HasKind(Item(ID_IPADDRESS), FlatKind::IPAddress));
}

TEST_F(GalleryTest, ComboBoxesAndDateTime)
{
    // A simple combo box is not subclassed; its edit field and list are.
    const HWND simple = Item(ID_COMBO_SIMPLE);
    EXPECT_TRUE(HasKind(simple, FlatKind::None));
    int edits = 0;
    for (HWND child = GetTopWindow(simple); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (!_wcsicmp(name, L"Edit")) {
            ++edits;
            EXPECT_TRUE(HasKind(child, FlatKind::ComboEdit));
        } else if (!_wcsicmp(name, L"ComboLBox")) {
            const bool edge = GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
            EXPECT_TRUE(HasKind(child, edge ? FlatKind::Control : FlatKind::None));
        }
    }
    EXPECT_EQ(1, edits);
    EXPECT_TRUE(HasKind(Item(ID_COMBO_DROPDOWN), FlatKind::ComboBox));
    EXPECT_TRUE(HasKind(Item(ID_COMBO_DROPLIST), FlatKind::ComboBox));
    // The edit inside a drop-down combo box is not tracked itself.
    EXPECT_TRUE(HasKind(GetTopWindow(Item(ID_COMBO_DROPDOWN)), FlatKind::None));
    // An extended combo box hands over to the combo box inside it.
    EXPECT_TRUE(HasKind(Item(ID_COMBOEX), FlatKind::None));
    EXPECT_TRUE(HasKind(GetTopWindow(Item(ID_COMBOEX)), FlatKind::ComboBox));

    EXPECT_TRUE(HasKind(Item(ID_DATETIME), FlatKind::DateTime));
    const HWND withSpin = Item(ID_DATETIME_UPDOWN);
    EXPECT_TRUE(HasKind(withSpin, FlatKind::DateTime));
    ASSERT_NE(nullptr, GetTopWindow(withSpin));
    EXPECT_TRUE(HasKind(GetTopWindow(withSpin), FlatKind::Spin));
}

TEST_F(GalleryTest, ListViewAndItsHeader)
{
    const HWND list = Item(ID_LISTVIEW);
    EXPECT_TRUE(HasKind(list, FlatKind::Control));
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(nullptr, header);
    EXPECT_TRUE(HasKind(header, FlatKind::Header));
}

TEST_F(GalleryTest, ScrollBarsSpinsToolbarsTabsTrackbars)
{
    EXPECT_TRUE(HasKind(Item(ID_HSCROLL), FlatKind::ScrollBar));
    EXPECT_TRUE(HasKind(Item(ID_VSCROLL), FlatKind::ScrollBar));
    EXPECT_TRUE(HasKind(Item(ID_SIZEBOX), FlatKind::None));

    EXPECT_TRUE(HasKind(Item(ID_SPIN_RIGHT), FlatKind::Spin));
    EXPECT_TRUE(HasKind(Item(ID_SPIN_LEFT), FlatKind::Spin));
    EXPECT_TRUE(HasKind(Item(ID_SPIN_ALONE), FlatKind::Spin));
    EXPECT_TRUE(HasKind(Item(ID_SPIN_EDIT_RIGHT), FlatKind::Edit));
    EXPECT_TRUE(HasKind(Item(ID_SPIN_EDIT_LEFT), FlatKind::Edit));

    EXPECT_TRUE(HasKind(Item(ID_TOOLBAR), FlatKind::ToolBar));
    EXPECT_TRUE(HasKind(Item(ID_TOOLBAR_FLAT), FlatKind::None));

    for (int id : {ID_TAB_TOP, ID_TAB_BOTTOM, ID_TAB_LEFT, ID_TAB_RIGHT, ID_TAB_BUTTONS})
        EXPECT_TRUE(HasKind(Item(id), FlatKind::TabCtrl)) << "tab " << id;
    for (int id : {ID_TRACK, ID_TRACK_TOP, ID_TRACK_BOTH, ID_TRACK_NOTHUMB, ID_TRACK_VERT, ID_TRACK_VERT_LEFT,
                   ID_TRACK_VERT_BOTH})
        EXPECT_TRUE(HasKind(Item(id), FlatKind::TrackBar)) << "trackbar " << id;
}

TEST_F(GalleryTest, DialogIsSubclassedAndSecondInitDialogDoesNothing)
{
    const HWND dialog = dialog_->hwnd();
    EXPECT_TRUE(FlatLookInspector::IsDialogAttached(dialog));
    EXPECT_EQ(FlatLookInspector::DialogProc(),
              reinterpret_cast<WNDPROC>(GetWindowLongPtrW(dialog, GWLP_WNDPROC)));
    EXPECT_EQ(FlatLookInspector::ControlProc(),
              reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Item(ID_EDIT), GWLP_WNDPROC)));

    const HWND edit = Item(ID_EDIT);
    ASSERT_TRUE(tarvo::GetFlatLookManager()->DetachControl(edit));
    const size_t count = FlatLookInspector::ControlCount();
    SendMessageW(dialog, WM_INITDIALOG, 0, 0);
    EXPECT_TRUE(HasKind(edit, FlatKind::None));
    EXPECT_EQ(count, FlatLookInspector::ControlCount());
    EXPECT_TRUE(tarvo::GetFlatLookManager()->AttachControl(edit, nullptr));
}

}  // namespace
}  // namespace flattest
